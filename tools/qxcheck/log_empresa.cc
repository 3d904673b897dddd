#include "log_empresa.h"

#include <cstring>
#include <memory>

#include "outside/change_log/change_log_query.h"
#include "outside/change_log/change_log_store.h"
#include "outside/change_log/reg_lan_atual.h"
#include "outside/database/company_database.h"
#include "platform/codepage.h"
#include "values/qx_data.h"

namespace qx::check {
namespace {

// The entry record an event's image stands for: the image after a save (the
// one before, for an update that was undone before its record), or the one
// of a removal.
std::optional<ImagemLog> ImagemDoEvento(const EventoLog& evento) {
  const std::string& bytes = evento.resumo.imagemDepois.empty() ? evento.resumo.imagemAntes
                                                                : evento.resumo.imagemDepois;
  RegLanAtual imagem;
  if (bytes.size() != sizeof imagem) return std::nullopt;
  std::memcpy(&imagem, bytes.data(), sizeof imagem);
  ImagemLog log;
  log.evento = evento.id;
  EntryRecord& r = log.registro;
  r.Documento = imagem.Documento;
  r.Complemento = imagem.Complemento;
  r.Debito = imagem.Debito;
  r.Credito = imagem.Credito;
  r.Secao = imagem.Secao;
  r.Valor = imagem.Valor;
  r.lChaveModulo = imagem.lChaveModulo;
  r.iData = imagem.iData;
  r.CodHis = imagem.CodHis;
  r.Filial = imagem.Filial;
  r.cDia = static_cast<int8_t>(CQXData(imagem.Data).Day());
  r.cStatus = imagem.cStatus;
  return log;
}

bool Falha(const SuiteDatabase& db, std::string* error) {
  *error = "o log da empresa não pôde ser lido: " + Cp1252ToUtf8(db.message());
  return false;
}

}  // namespace

bool ReadCompanyLog(const std::string& company, LogDaEmpresa* log, std::string* error) {
  std::shared_ptr<SuiteDatabase> db;
  std::string message;
  if (FAILED(OpenCompanyDatabase(company, &db, &message))) {
    *error = "o log da empresa não pôde ser lido: " + Cp1252ToUtf8(message);
    return false;
  }
  const HRESULT hr = db->Read([&] {
    const HRESULT lido = LeOperacoesEncerradas(*db, &log->encerradas);
    return FAILED(lido) ? lido : ConsultaLog(*db).Meses(&log->meses);
  });
  if (FAILED(hr)) return Falha(*db, error);
  log->imagens = [db](uint16_t mesAno, ImagensDoMes* imagens, std::string* erro) {
    std::vector<EventoLog> eventos;
    FiltroEventos filtro;
    filtro.mes = mesAno;
    filtro.tipos = {kEventoNovo, kEventoAlterado, kEventoExcluido};
    if (FAILED(db->Read([&] { return ConsultaLog(*db).ListaEventos(filtro, &eventos); }))) {
      return Falha(*db, erro);
    }
    // In their order: the last of each position stays.
    for (const EventoLog& evento : eventos) {
      if (const std::optional<ImagemLog> imagem = ImagemDoEvento(evento)) {
        (*imagens)[static_cast<uint32_t>(evento.posicao)] = *imagem;
      }
    }
    return true;
  };
  return true;
}

}  // namespace qx::check
