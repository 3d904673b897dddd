// The sessions opened in a company, which the change log searches by user.
#pragma once

#include <cstdint>
#include <string>

#include "outside/suite_database.h"

namespace qx {

// Records (or records again) that the session belongs to the user, opened
// today by the application (Windows-1252).
HRESULT RegistraSessao(SuiteDatabase& db, uint32_t sessao, unsigned short usuario,
                       const std::string& aplicativo);

}  // namespace qx
