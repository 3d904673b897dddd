// The change log's tables as its service, its migration and its readers use
// them: the records ("log_alteracoes"), their events ("log_eventos", filed
// behind the records and brought up to date in batches) and the control row
// ("log_controle"). Each function runs inside the caller's transaction, or in
// one of its own.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "outside/change_log/change_log_events.h"
#include "outside/database/sql_statement.h"
#include "outside/database/suite_database.h"

namespace qx {

// Records wait at most about this many before their events are filed; a
// reader decodes the waiting ones itself.
inline constexpr int64_t kRegistrosPorIndexacao = 256;

struct MarcasLog {
  int64_t indexadoAte = 0;   // the events of the records up to this id are filed
  int64_t ultimoEvento = 0;  // the last event filed from a record; 0 none
};
HRESULT LeMarcasLog(SuiteDatabase& db, MarcasLog* marcas);

// The records from id `desde` to `ate`, in their order, each handed to
// `recebe` until it returns false.
HRESULT LeRegistros(SuiteDatabase& db, int64_t desde, int64_t ate,
                    const std::function<bool(RegistroLog&&)>& recebe);

// The columns of a record, and the record read from them starting at column
// `primeira` of a row.
inline constexpr char kColunasRegistro[] =
    "r.id, r.sessao, r.chave, r.tipo, r.servico, r.dados, r.gravado_em, r.usuario, "
    "r.valor_moeda, r.quantidade";
RegistroLog LeRegistro(const SqlStatement& linha, int primeira);

// An event whose user its records do not tell gets the user its session was
// opened by, when the company knows it.
HRESULT CompletaUsuario(SuiteDatabase& db, EventoLog* evento);

// Sets the `anterior` of an update or a removal: the last new or changed
// save of its entry among `recentes` (events not filed, in their order) or,
// before them, among the events filed.
HRESULT ProcuraAnterior(SuiteDatabase& db, const std::vector<EventoLog>& recentes,
                        EventoLog* evento);

// Files the events of every record not filed yet. `recentes`, when given,
// are the newest records of the log with their ids, as they were stored: they
// are taken as they are, and only the records before them are read.
HRESULT IndexaEventos(SuiteDatabase& db, std::vector<RegistroLog> recentes = {});
// Files them when kRegistrosPorIndexacao records or more are waiting. Runs
// inside the caller's write transaction; a failure is undone alone and leaves
// the caller's work standing (the next write files them). `gravados` are the
// records that transaction stored last, in their order, still without ids:
// they are not read back.
HRESULT IndexaSeAtrasado(SuiteDatabase& db, std::vector<RegistroLog> gravados = {});

// SQLite: the id the next record takes, above every id the log gave: the
// largest of a record present, or maior_id when newer ones were deleted or
// a place was reserved since, as AUTOINCREMENT gave them. (PostgreSQL's
// records take theirs from their identity column.)
HRESULT ProximoRegistroSqlite(SuiteDatabase& db, int64_t* id);

// After the records were copied in with their ids: the next record goes
// above every id the log gave before (on PostgreSQL, whose records take them
// from a sequence; SQLite finds them itself).
HRESULT ContinuaLog(SuiteDatabase& db);

// The operations of the entry service that the log has as ended and that an
// intent may still name: the one whose records were stored last, and the one
// taken back last (each when there is one).
HRESULT LeOperacoesEncerradas(SuiteDatabase& db, std::vector<uint64_t>* operacoes);

// Files an event without records (a check, a recovery, the closing of a
// period) at a place in the order that no record will take.
HRESULT InsereSemRegistros(SuiteDatabase& db, EventoLog evento);

}  // namespace qx
