#include "outside/change_log/change_log_events.h"

#include <cstring>

#include "outside/change_log/reg_lan_atual.h"
#include "storage/records/entry_records.h"
#include "values/qx_data.h"
#include "values/qx_dmcps.h"
#include "values/qx_mes_ano.h"

namespace qx {
namespace {

bool IniciaEvento(const RegistroLog& r) {
  return r.tipo == kLogTipoLancamento &&
         (r.servico == kLogInclusao || r.servico == kLogAntes || r.servico == kLogExclusao);
}

// The month of an image's date and the import batch of its origin; an image
// too short to hold them leaves both as they are.
void LeImagem(const std::string& dados, uint16_t* mes, uint32_t* lote) {
  RegLanAtual imagem;
  if (dados.size() < sizeof imagem) return;
  std::memcpy(&imagem, dados.data(), sizeof imagem);
  *mes = CQXData(imagem.Data).MesAno().Value();
  if (OriginModule(imagem.lChaveModulo) == kImportModule) *lote = OriginKey(imagem.lChaveModulo);
}

// The summary of an event from its records: the images before and after,
// and what the save wrote with its new record.
ResumoEvento Resume(const std::vector<RegistroLog>& registros) {
  ResumoEvento r;
  std::vector<std::optional<int64_t>> quantidades;
  char depois = '\0';  // the letter of the save's new records
  for (const RegistroLog& registro : registros) {
    if (registro.tipo == kLogTipoLancamento) {
      if (registro.servico == kLogAntes || registro.servico == kLogExclusao) {
        r.imagemAntes = registro.dados;
      } else {
        r.imagemDepois = registro.dados;
        r.valorMoeda = registro.valorMoeda;
        depois = registro.servico;
      }
    } else if (registro.servico == depois && registro.tipo == kLogTipoComplemento) {
      r.complemento = registro.dados;
    } else if (registro.servico == depois && registro.tipo == kLogTipoGerencial &&
               registro.dados.size() == sizeof(REGLAN_GER)) {
      if (r.linhas.empty()) r.primeiraLinha = registro.chave;
      r.linhas += registro.dados;
      quantidades.push_back(registro.quantidade);
    }
  }
  // Quantities are kept for every line of a save or for none.
  for (const std::optional<int64_t>& q : quantidades) {
    if (!q) return r;
  }
  for (const std::optional<int64_t>& q : quantidades) {
    r.quantidades.append(reinterpret_cast<const char*>(&*q), sizeof *q);
  }
  return r;
}

}  // namespace

void AgrupaEventos::Recebe(RegistroLog registro) {
  if (IniciaEvento(registro)) {
    const char tipo = registro.servico == kLogAntes ? kEventoAlterado : registro.servico;
    return Comeca(std::move(registro), tipo);
  }
  const bool daSessao = aberto_ && aberto_->sessao == registro.sessao;
  if (registro.tipo == kLogTipoLancamento && registro.servico == kLogAlteracao) {
    if (!daSessao || aberto_->tipo != kEventoAlterado || comDepois_ ||
        aberto_->posicao != registro.chave) {
      Comeca(std::move(registro), kEventoAlterado);
      comDepois_ = true;
      return;
    }
    // The batch of an update is its before image's, else its after image's.
    uint16_t mes = 0;
    if (aberto_->lote == 0) LeImagem(registro.dados, &mes, &aberto_->lote);
    comDepois_ = true;
  }
  if (daSessao) {
    aberto_->registros.push_back(std::move(registro));
  } else {
    // Another session's record ends the open event and belongs to none.
    Termina();
  }
}

void AgrupaEventos::Termina() {
  if (!aberto_) return;
  EventoLog evento = std::move(*aberto_);
  aberto_.reset();
  evento.ultimo = evento.registros.back().id;
  evento.resumo = Resume(evento.registros);
  pronto_(std::move(evento));
}

void AgrupaEventos::Comeca(RegistroLog registro, char tipo) {
  Termina();
  EventoLog& evento = aberto_.emplace();
  evento.id = registro.id;
  evento.tipo = tipo;
  evento.sessao = registro.sessao;
  evento.usuario = registro.usuario;
  evento.posicao = registro.chave;
  evento.gravadoEm = registro.gravadoEm;
  LeImagem(registro.dados, &evento.mes, &evento.lote);
  evento.registros.push_back(std::move(registro));
  comDepois_ = false;
}

}  // namespace qx
