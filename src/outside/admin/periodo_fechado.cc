#include "outside/admin/periodo_fechado.h"

#include "outside/change_log/change_log_store.h"
#include "outside/database/company_row.h"
#include "outside/database/timestamp.h"
#include "values/br_text.h"
#include "values/calendar.h"

namespace qx {
namespace {

// The image of a period in its history event: first and last day.
std::string Imagem(uint32_t de, uint32_t ate) {
  const uint32_t dias[2] = {de, ate};
  return std::string(reinterpret_cast<const char*>(dias), sizeof dias);
}

}  // namespace

HRESULT LePeriodoFechado(SuiteDatabase& db, PeriodoFechado* periodo) {
  *periodo = PeriodoFechado{};
  return ReadCompanyRow(db, "data_inicial_bloqueada, data_final_bloqueada, fechado_por, fechado_em",
                        [&](const SqlStatement& row) {
                          periodo->de = static_cast<uint32_t>(row.Int(0));
                          periodo->ate = static_cast<uint32_t>(row.Int(1));
                          if (const auto usuario = row.OptionalInt(2)) {
                            periodo->usuario = static_cast<uint16_t>(*usuario);
                          }
                          periodo->em = row.Text(3);
                        });
}

std::string DescrevePeriodoFechado(const PeriodoFechado& p) {
  // A period closed up to a date begins on the calendar's first day.
  std::string texto = p.de <= kFirstDayNumber
                          ? "at\xE9 " + DateText(CQXData(p.ate))
                          : "de " + DateText(CQXData(p.de)) + " a " + DateText(CQXData(p.ate));
  texto += ", fechado pelo usu\xE1rio ";
  texto += p.usuario ? std::to_string(*p.usuario) : "desconhecido (qxadmin config)";
  if (!p.em.empty()) texto += " em " + TimestampParaPessoas(p.em);
  return texto;
}

HRESULT MudaPeriodoFechado(SuiteDatabase& db, uint32_t de, uint32_t ate, uint16_t usuario,
                           uint32_t sessao) {
  return db.Write([&] {
    PeriodoFechado antes;
    HRESULT hr = LePeriodoFechado(db, &antes);
    if (FAILED(hr)) return hr;
    EventoLog evento;
    evento.tipo = kEventoPeriodo;
    evento.sessao = sessao;
    evento.usuario = usuario;
    evento.gravadoEm = TimestampNow();
    evento.resumo.imagemAntes = Imagem(antes.de, antes.ate);
    evento.resumo.imagemDepois = Imagem(de, ate);
    const bool fechado = de != 0;
    SqlStatement update(db,
                        "UPDATE empresa SET data_inicial_bloqueada = ?, data_final_bloqueada = ?, "
                        "fechado_por = ?, fechado_em = ? WHERE id = 1");
    update.Bind(1, de).Bind(2, ate);
    update.Bind(3, fechado ? std::optional<int64_t>(usuario) : std::nullopt);
    if (fechado) {
      update.BindText(4, evento.gravadoEm);
    } else {
      update.Bind(4, std::nullopt);
    }
    hr = update.Run();
    return SUCCEEDED(hr) ? InsereSemRegistros(db, std::move(evento)) : hr;
  });
}

}  // namespace qx
