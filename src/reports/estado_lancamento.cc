#include "reports/estado_lancamento.h"

#include <cstring>

#include "reports/leitura.h"
#include "storage/records/entry_records.h"
#include "values/qx_dmcps.h"

namespace qx {
namespace {

constexpr uint32_t Bit(Campo campo) { return 1u << static_cast<int>(campo); }

bool Desconhecido(const EstadoLancamento& e, Campo campo) {
  return (e.desconhecidos & Bit(campo)) != 0;
}

std::optional<EstadoLancamento> DaImagem(const std::string& imagem) {
  EstadoLancamento e;
  if (imagem.size() < sizeof e.imagem) return std::nullopt;
  std::memcpy(&e.imagem, imagem.data(), sizeof e.imagem);
  return e;
}

// Two images of one stored record: the same bytes but for the split
// position, which a save writes after it reports its new record, and the
// status, which a removal sets.
bool MesmoRegistro(RegLanAtual a, RegLanAtual b) {
  a.Gerencial = b.Gerencial = 0;
  a.cStatus = b.cStatus = 0;
  return std::memcmp(&a, &b, sizeof a) == 0;
}

// A field the image holds, as a number (the origin as its key).
int64_t DaImagem(const RegLanAtual& i, Campo campo) {
  switch (campo) {
    case Campo::kData:
      return i.Data;
    case Campo::kDebito:
      return i.Debito;
    case Campo::kCredito:
      return i.Credito;
    case Campo::kValor:
      return i.Valor.int64;
    case Campo::kFilial:
      return i.Filial;
    case Campo::kDocumento:
      return i.Documento;
    case Campo::kHistorico:
      return i.CodHis;
    case Campo::kOrigem:
      return i.lChaveModulo;
    default:
      return 0;
  }
}

// A field of a state; a field of the image that is zero is none, the amount
// excepted.
std::optional<ValorCampo> Valor(const EstadoLancamento& e, Campo campo) {
  switch (campo) {
    case Campo::kComplemento:
      if (e.complemento.empty()) return std::nullopt;
      return ValorCampo::Texto(e.complemento);
    case Campo::kGerencial:
      if (e.linhas.empty()) return std::nullopt;
      return ValorCampo::Linhas(e.linhas);
    case Campo::kValorMoeda:
      return e.moeda ? std::optional(ValorCampo::Numero(*e.moeda)) : std::nullopt;
    default:
      break;
  }
  const int64_t n = DaImagem(e.imagem, campo);
  if (n == 0 && campo != Campo::kValor) return std::nullopt;
  if (campo != Campo::kOrigem) return ValorCampo::Numero(n);
  const auto chave = static_cast<int32_t>(n);
  return ValorCampo::Texto(std::to_string(OriginModule(chave)) + ":" +
                           std::to_string(OriginKey(chave)));
}

// Whether two states agree on a field, without building its values.
bool Iguais(const EstadoLancamento& a, const EstadoLancamento& b, Campo campo) {
  switch (campo) {
    case Campo::kComplemento:
      return a.complemento == b.complemento;
    case Campo::kGerencial:
      return a.linhas == b.linhas;
    case Campo::kValorMoeda:
      return a.moeda == b.moeda;
    default:
      return DaImagem(a.imagem, campo) == DaImagem(b.imagem, campo);
  }
}

}  // namespace

std::optional<EstadoLancamento> EstadoDepois(const EventoLog& evento) {
  const ResumoEvento& r = evento.resumo;
  std::optional<EstadoLancamento> e = DaImagem(r.imagemDepois);
  if (!e) return e;
  if (e->imagem.cStatus == kEntryLiveWithCurrency) {
    e->moeda = r.valorMoeda;
    // Written before the log kept the amounts.
    if (!r.valorMoeda) e->desconhecidos |= Bit(Campo::kValorMoeda);
  }
  e->complemento = SemFimDeLinha(r.complemento);
  const size_t quantas = r.linhas.size() / sizeof(REGLAN_GER);
  const bool comQuantidades = r.quantidades.size() == quantas * sizeof(CURRENCY);
  for (size_t k = 0; k < quantas; ++k) {
    REGLAN_GER linha;
    std::memcpy(&linha, r.linhas.data() + k * sizeof linha, sizeof linha);
    LinhaRateio& l = e->linhas.emplace_back(
        LinhaRateio{linha.ContaGerencial, linha.ContaContabil, linha.Valor.int64, std::nullopt});
    if (comQuantidades) {
      int64_t quantidade = 0;
      std::memcpy(&quantidade, r.quantidades.data() + k * sizeof quantidade, sizeof quantidade);
      l.quantidade = quantidade;
    }
  }
  e->primeiraLinha = r.primeiraLinha;
  return e;
}

std::optional<EstadoLancamento> EstadoAntes(const EventoLog& evento,
                                            const EstadoLancamento* anterior) {
  std::optional<EstadoLancamento> e = DaImagem(evento.resumo.imagemAntes);
  if (!e) return e;
  // What the image does not hold comes from the previous save, when that
  // save wrote the record this image shows.
  const bool segue = anterior != nullptr && MesmoRegistro(anterior->imagem, e->imagem);
  const auto desconhece = [&](Campo campo) { e->desconhecidos |= Bit(campo); };
  if (e->imagem.Complemento != 0) {
    if (segue)
      e->complemento = anterior->complemento;
    else
      desconhece(Campo::kComplemento);
  }
  if (e->imagem.Gerencial != 0) {
    if (segue && anterior->primeiraLinha == e->imagem.Gerencial)
      e->linhas = anterior->linhas;
    else
      desconhece(Campo::kGerencial);
  }
  // A removed record no longer says whether it had an amount; the save
  // before it does.
  const bool removido = e->imagem.cStatus == kEntryDeleted;
  const uint8_t status = removido && segue ? anterior->imagem.cStatus : e->imagem.cStatus;
  if (segue) {
    e->moeda = anterior->moeda;
    if (Desconhecido(*anterior, Campo::kValorMoeda)) desconhece(Campo::kValorMoeda);
  } else if (status == kEntryLiveWithCurrency || removido) {
    desconhece(Campo::kValorMoeda);
  }
  return e;
}

std::vector<Mudanca> Compara(const EstadoLancamento* antes, const EstadoLancamento* depois) {
  std::vector<Mudanca> mudancas;
  for (int k = 0; k < static_cast<int>(Campo::kConferido); ++k) {
    const Campo campo = static_cast<Campo>(k);
    // A value the log never held on the new side says nothing of a change.
    if (depois != nullptr && Desconhecido(*depois, campo)) continue;
    const bool desconhecido = antes != nullptr && Desconhecido(*antes, campo);
    if (!desconhecido && antes != nullptr && depois != nullptr && Iguais(*antes, *depois, campo)) {
      continue;
    }
    Mudanca m{campo, antes != nullptr && !desconhecido ? Valor(*antes, campo) : std::nullopt,
              depois != nullptr ? Valor(*depois, campo) : std::nullopt, desconhecido};
    if (desconhecido ? m.depois.has_value() : m.antes != m.depois) mudancas.push_back(std::move(m));
  }
  return mudancas;
}

}  // namespace qx
