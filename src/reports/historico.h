// The history of entries as people read it: every save, update, removal and
// check of an entry and every closing or reopening of a period, with the
// moment, user and session that made it and the fields it changed, old and
// new. It is read from the company's change log (outside/change_log/change_log_query.h),
// whose indexes answer each filter.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "outside/change_log/change_log_query.h"
#include "outside/database/suite_database.h"
#include "values/qx_mes_ano.h"

namespace qx {

// The fields of an entry, in the order the history lists them, then the
// first and last day of the closed period that a period's event changes.
enum class Campo {
  kData,         // numero: CQXData day number
  kDebito,       // numero: account
  kCredito,      // numero: account
  kValor,        // numero: ten-thousandths
  kFilial,       // numero
  kDocumento,    // numero
  kHistorico,    // numero: standard history code
  kComplemento,  // texto (Windows-1252, without its closing line end)
  kGerencial,    // linhas
  kValorMoeda,   // numero: ten-thousandths
  kOrigem,       // texto "module:key"
  kConferido,    // numero: the checked mark
  kFechadoDe,    // numero: CQXData day number; none while nothing is closed
  kFechadoAte,   // numero: CQXData day number
};
inline constexpr int kQuantidadeCampos = static_cast<int>(Campo::kFechadoAte) + 1;

// The word people and scripts know a field by ("data", "valor_moeda" ...).
const char* NomeCampo(Campo campo);

// One managerial split line as an event recorded it (a report reads a
// stored split as LinhaRateio, reports/rateio.h).
struct LinhaRateioGravada {
  int32_t conta = 0;                  // managerial account
  int32_t contaContabil = 0;          // accounting account
  int64_t valor = 0;                  // ten-thousandths
  std::optional<int64_t> quantidade;  // when the company keeps quantities
  bool operator==(const LinhaRateioGravada&) const = default;
};

// A field's value; which member holds it follows the field (see Campo).
struct ValorCampo {
  static ValorCampo Numero(int64_t n) { return {n, {}, {}}; }
  static ValorCampo Texto(std::string t) { return {0, std::move(t), {}}; }
  static ValorCampo Linhas(std::vector<LinhaRateioGravada> l) { return {0, {}, std::move(l)}; }

  int64_t numero = 0;
  std::string texto;
  std::vector<LinhaRateioGravada> linhas;
  bool operator==(const ValorCampo&) const = default;
};

// A field an event changed. A side without a value (a new entry's before, a
// removed entry's after, no foreign-currency amount) is nullopt; a before
// that the log cannot tell (an entry older than its history) is desconhecido.
struct Mudanca {
  Campo campo;
  std::optional<ValorCampo> antes, depois;
  bool antesDesconhecido = false;
};

struct EventoHistorico {
  int64_t id = 0;         // the event's place in the change log's order
  // kEventoNovo, kEventoAlterado, kEventoExcluido, kEventoConferido, kEventoPeriodo,
  // kEventoRecuperacao
  char tipo = '\0';
  std::string gravadoEm;  // "YYYY-MM-DD HH:MM:SS.mmm"
  uint32_t sessao = 0;
  std::optional<uint16_t> usuario;
  CQXMesAno mes;
  int32_t posicao = 0;
  uint32_t lote = 0;              // import batch; 0 for none
  std::vector<Mudanca> mudancas;  // in field order
  std::string descricao;          // what a recovery took back (Windows-1252)
};

// The events the filter admits, in their order. An update that was undone
// before its new record was written (its log holds only the before image)
// changed nothing and is left out.
HRESULT LeHistorico(SuiteDatabase& db, const FiltroEventos& filtro,
                    std::vector<EventoHistorico>* eventos);
// The same for a company of the installation; *mensagem (Windows-1252) says
// what failed.
HRESULT LeHistorico(std::string_view empresa, const FiltroEventos& filtro,
                    std::vector<EventoHistorico>* eventos, std::string* mensagem);

}  // namespace qx
