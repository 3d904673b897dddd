// Finding events of the change log by what people ask of its history: one
// entry, a period of time, a user, a session, a kind of event, an import
// batch. Each question is answered through an index of the events; the
// records not filed yet (at most a few hundred) are grouped on the way.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "outside/change_log/change_log_events.h"
#include "outside/database/suite_database.h"

namespace qx {

struct FiltroEventos {
  // Moments as the log keeps them ("YYYY-MM-DD HH:MM:SS.mmm"), both
  // included; empty: no bound.
  std::string de, ate;
  uint16_t mes = 0;     // the entry's month-year; 0: any
  int32_t posicao = 0;  // with mes, one entry; 0: any
  std::optional<uint16_t> usuario;
  std::optional<uint32_t> sessao;
  std::string tipos;    // the kinds admitted (kEventoNovo ...); empty: all
  uint32_t lote = 0;    // 0: any
  int64_t antesDe = 0;  // only events before this one; 0: no bound

  bool operator==(const FiltroEventos&) const = default;
};

bool Admite(const FiltroEventos& filtro, const EventoLog& evento);

// Questions to the change log. Make one inside a read transaction of the
// caller (SuiteDatabase::Read) and ask it everything there: the records not
// filed yet are grouped once, at the first question, and every answer sees
// the same log.
class ConsultaLog {
 public:
  explicit ConsultaLog(SuiteDatabase& db) : db_(db) {}

  // The events the filter admits, in their order, with their summaries.
  HRESULT ListaEventos(const FiltroEventos& filtro, std::vector<EventoLog>* eventos);
  // The events of these ids, in their order, with their summaries.
  HRESULT LeEventos(const std::vector<int64_t>& ids, std::vector<EventoLog>* eventos);
  // The months of the entries that saves and removals of the log name.
  HRESULT Meses(std::set<uint16_t>* meses);
  // The records of these events, in one question.
  HRESULT LeRegistros(std::vector<EventoLog>* eventos);

 private:
  HRESULT AgrupaEsperando();

  SuiteDatabase& db_;
  std::optional<std::vector<EventoLog>> esperando_;  // events of the records not filed yet
};

}  // namespace qx
