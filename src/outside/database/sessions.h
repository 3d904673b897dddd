// The sessions opened in a company, which the change log searches by user.
#pragma once

#include <cstdint>
#include <string>

#include "outside/database/suite_database.h"

namespace qx {

// Records (or records again) that the session belongs to the user, opened
// today by the application (Windows-1252).
HRESULT RegistraSessao(SuiteDatabase& db, uint32_t sessao, unsigned short usuario,
                       const std::string& aplicativo);

// Sessions that NovaSessao hands out start here, above the numbers that
// programs choose for themselves (qxcn's 4096 among them).
inline constexpr uint32_t kPrimeiraSessaoReservada = 0x100000;

// A session number no workstation of the company has used, recorded for the
// user at once: the next above every session recorded and
// kPrimeiraSessaoReservada.
HRESULT NovaSessao(SuiteDatabase& db, unsigned short usuario, const std::string& aplicativo,
                   uint32_t* sessao);

}  // namespace qx
