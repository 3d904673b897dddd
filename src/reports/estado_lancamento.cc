#include "reports/estado_lancamento.h"

#include <cstring>
#include <string>

#include "storage/records/entry_records.h"
#include "values/qx_dmcps.h"

namespace qx {
namespace {

void Define(EstadoLancamento& e, Campo campo, ValorCampo valor) {
  e.valores[static_cast<size_t>(campo)] = std::move(valor);
}

void Desconhece(EstadoLancamento& e, Campo campo) {
  e.desconhecido[static_cast<size_t>(campo)] = true;
}

const std::optional<ValorCampo>& Valor(const EstadoLancamento& e, Campo campo) {
  return e.valores[static_cast<size_t>(campo)];
}

// The fields an image holds; a field that is zero is absent, the amount
// excepted.
std::optional<EstadoLancamento> DaImagem(const RegistroLog& registro) {
  EstadoLancamento e;
  if (registro.dados.size() < sizeof e.imagem) return std::nullopt;
  std::memcpy(&e.imagem, registro.dados.data(), sizeof e.imagem);
  const RegLanAtual& i = e.imagem;
  const auto numero = [&](Campo campo, int64_t valor) {
    if (valor != 0) Define(e, campo, ValorCampo::Numero(valor));
  };
  numero(Campo::kData, i.Data);
  numero(Campo::kDebito, i.Debito);
  numero(Campo::kCredito, i.Credito);
  Define(e, Campo::kValor, ValorCampo::Numero(i.Valor.int64));
  numero(Campo::kFilial, i.Filial);
  numero(Campo::kDocumento, i.Documento);
  numero(Campo::kHistorico, i.CodHis);
  if (i.lChaveModulo != 0) {
    Define(e, Campo::kOrigem,
           ValorCampo::Texto(std::to_string(OriginModule(i.lChaveModulo)) + ":" +
                             std::to_string(OriginKey(i.lChaveModulo))));
  }
  return e;
}

bool EImagem(const RegistroLog& r, char servico) {
  return r.tipo == kLogTipoLancamento && r.servico == servico;
}

// Two images of one stored record: the same bytes but for the split
// position, which a save writes after it reports its new record, and the
// status, which a removal sets.
bool MesmoRegistro(RegLanAtual a, RegLanAtual b) {
  a.Gerencial = b.Gerencial = 0;
  a.cStatus = b.cStatus = 0;
  return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

std::optional<EstadoLancamento> EstadoDepois(const EventoLog& evento) {
  const char servico = evento.tipo == kEventoNovo ? kLogInclusao : kLogAlteracao;
  size_t k = 0;
  while (k < evento.registros.size() && !EImagem(evento.registros[k], servico)) ++k;
  if (k == evento.registros.size()) return std::nullopt;
  const RegistroLog& imagem = evento.registros[k];
  std::optional<EstadoLancamento> e = DaImagem(imagem);
  if (!e) return e;
  if (e->imagem.cStatus == kEntryLiveWithCurrency) {
    if (imagem.valorMoeda) {
      Define(*e, Campo::kValorMoeda, ValorCampo::Numero(*imagem.valorMoeda));
    } else {
      Desconhece(*e, Campo::kValorMoeda);  // written before the log kept amounts
    }
  }
  std::vector<LinhaRateio> linhas;
  for (size_t j = k + 1; j < evento.registros.size(); ++j) {
    const RegistroLog& r = evento.registros[j];
    if (r.servico != servico) continue;
    if (r.tipo == kLogTipoComplemento && !r.dados.empty()) {
      Define(*e, Campo::kComplemento, ValorCampo::Texto(r.dados));
    }
    REGLAN_GER linha;
    if (r.tipo != kLogTipoGerencial || r.dados.size() < sizeof linha) continue;
    std::memcpy(&linha, r.dados.data(), sizeof linha);
    if (linhas.empty()) e->primeiraLinha = r.chave;
    linhas.push_back(
        {linha.ContaGerencial, linha.ContaContabil, linha.Valor.int64, r.quantidade});
  }
  if (!linhas.empty()) Define(*e, Campo::kGerencial, ValorCampo::Linhas(std::move(linhas)));
  return e;
}

std::optional<EstadoLancamento> EstadoAntes(const EventoLog& evento,
                                            const EstadoLancamento* anterior) {
  if (evento.registros.empty() || evento.registros[0].tipo != kLogTipoLancamento) {
    return std::nullopt;
  }
  std::optional<EstadoLancamento> e = DaImagem(evento.registros[0]);
  if (!e) return e;
  // What the image does not hold comes from the previous save, when that
  // save wrote the record this image shows.
  const bool segue = anterior != nullptr && MesmoRegistro(anterior->imagem, e->imagem);
  const auto completa = [&](Campo campo, bool presente, bool conhecido) {
    if (!presente) return;
    if (conhecido) {
      e->valores[static_cast<size_t>(campo)] = Valor(*anterior, campo);
      e->desconhecido[static_cast<size_t>(campo)] =
          anterior->desconhecido[static_cast<size_t>(campo)];
    } else {
      Desconhece(*e, campo);
    }
  };
  completa(Campo::kComplemento, e->imagem.Complemento != 0, segue);
  completa(Campo::kGerencial, e->imagem.Gerencial != 0,
           segue && anterior->primeiraLinha == e->imagem.Gerencial);
  // A removed record no longer says whether it had an amount; the save
  // before it does.
  const bool removido = e->imagem.cStatus == kEntryDeleted;
  const uint8_t status = removido && segue ? anterior->imagem.cStatus : e->imagem.cStatus;
  completa(Campo::kValorMoeda, status == kEntryLiveWithCurrency || (removido && !segue), segue);
  return e;
}

std::vector<Mudanca> Compara(const EstadoLancamento* antes, const EstadoLancamento* depois) {
  std::vector<Mudanca> mudancas;
  for (int k = 0; k < kQuantidadeCampos; ++k) {
    const Campo campo = static_cast<Campo>(k);
    // A value the log never held on the new side says nothing of a change.
    if (depois != nullptr && depois->desconhecido[k]) continue;
    Mudanca m{campo, antes != nullptr ? Valor(*antes, campo) : std::nullopt,
              depois != nullptr ? Valor(*depois, campo) : std::nullopt,
              antes != nullptr && antes->desconhecido[k]};
    if (m.antesDesconhecido ? m.depois.has_value() : m.antes != m.depois) {
      mudancas.push_back(std::move(m));
    }
  }
  return mudancas;
}

}  // namespace qx
