// The period closed to changes of entries: the accounting master's refused
// range (the company's data_inicial_bloqueada to data_final_bloqueada), with
// who closed it and when. The entry service refuses to save, remove or check
// an entry dated in it, and the removal of imports refuses the same dates.
// Closing and reopening are events of the entries' history (kEventoPeriodo).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "outside/database/suite_database.h"

namespace qx {

struct PeriodoFechado {
  uint32_t de = 0, ate = 0;         // CQXData day numbers; de 0: nothing is closed
  std::optional<uint16_t> usuario;  // who closed it, when known
  std::string em;                   // when ("YYYY-MM-DD HH:MM:SS.mmm"); empty when not known

  bool Fechado() const { return de != 0; }
  bool Contem(uint32_t dia) const { return de != 0 && dia >= de && dia <= ate; }
};

HRESULT LePeriodoFechado(SuiteDatabase& db, PeriodoFechado* periodo);

// "até 31/12/2025, fechado pelo usuário 3 em 15/01/2026 10:00:00" ("de
// 01/07/2025 a 31/12/2025, ..." for a period that begins on a later day than
// the calendar's first), in Windows-1252, as the refusals name the period.
std::string DescrevePeriodoFechado(const PeriodoFechado& periodo);

// How a refusal tells people to reopen the period (plain ASCII: the error
// log and the tools show it alike).
inline constexpr char kComoReabrir[] =
    "para reabrir: qxcn fecha-periodo --reabrir (tudo) ou --reabrir --ate DD/MM/AAAA (o que "
    "vem depois)";

// Makes de to ate the closed period (0 0 reopens everything), in the name of
// `usuario` on session `sessao`, and files the change in the history, in one
// transaction.
HRESULT MudaPeriodoFechado(SuiteDatabase& db, uint32_t de, uint32_t ate, uint16_t usuario,
                           uint32_t sessao);

}  // namespace qx
