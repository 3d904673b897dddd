// What the server writes to the registry store when it registers itself:
// its application entry, its class and its type library with the interface
// that the library describes, under the machine's classes or, per user, under
// the current user's "Software\Classes". The parent keys "AppID", "CLSID",
// "TypeLib" and "Interface" are created when missing and never removed.
#pragma once

#include <string>

#include "platform/com_types.h"

namespace qx {

inline constexpr char kNomeAplicacao[] = "Ostrel";
inline constexpr char kExecutavel[] = "Ostrel.EXE";
inline constexpr char kDescricaoClasse[] = "QXCN_Lancamento Class";
inline constexpr char kProgId[] = "QXCN_Lancamento.QXCN_Lancamento.1";
inline constexpr char kProgIdSemVersao[] = "QXCN_Lancamento.QXCN_Lancamento";
// The type library: the executable carries the interface table that stands
// for it, so its file is the executable (for 64-bit Windows, locale 0x409).
inline constexpr char kBibliotecaTipos[] = "OSTRELLib";
inline constexpr char kVersaoBibliotecaTipos[] = "1.0";
inline constexpr char kArquivoBibliotecaTipos[] = "409\\win64";
inline constexpr char kNomeInterface[] = "IQXCN_Lancamento";
inline constexpr char kNomeInterfaceLote[] = "IQXCN_LancamentoLote";
// The proxy of interfaces that a type library describes.
inline constexpr char kProxyBibliotecaTipos[] = "{00020424-0000-0000-C000-000000000046}";

// The application entry, then the class with LocalServer32 = modulo (quoted
// when it holds a blank or a tab, so that the path stays one word), then the
// type library (its file and HELPDIR from modulo) and its interface. The
// first failing step's code, as an HRESULT.
HRESULT RegistraServidor(bool porUsuario, const std::string& modulo);
// The type library with its interface and the class, then the application
// entry; what is already gone is no error.
HRESULT DesregistraServidor(bool porUsuario);

}  // namespace qx
