// What the server writes to the registry store when it registers itself:
// its application entry and its class, under the machine's classes or, per
// user, under the current user's "Software\Classes". The parent keys "AppID"
// and "CLSID" are created when missing and never removed.
#pragma once

#include <string>

#include "platform/com_types.h"

namespace qx {

inline constexpr char kNomeAplicacao[] = "Ostrel";
inline constexpr char kExecutavel[] = "Ostrel.EXE";
inline constexpr char kDescricaoClasse[] = "QXCN_Lancamento Class";
inline constexpr char kProgId[] = "QXCN_Lancamento.QXCN_Lancamento.1";
inline constexpr char kProgIdSemVersao[] = "QXCN_Lancamento.QXCN_Lancamento";

// The application entry, then the class with LocalServer32 = modulo (quoted
// when it holds a blank or a tab, so that the path stays one word). The first
// failing step's code, as an HRESULT.
HRESULT RegistraServidor(bool porUsuario, const std::string& modulo);
// The class, then the application entry; what is already gone is no error.
HRESULT DesregistraServidor(bool porUsuario);

}  // namespace qx
