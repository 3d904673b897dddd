// The switches of the server's command line.
#pragma once

#include <string_view>

namespace qx {

enum class AcaoLinhaComando {
  kServidor,            // no switch: run as the COM server
  kRegistra,            // "RegServer"
  kDesregistra,         // "UnregServer"
  kRegistraUsuario,     // "RegServerPerUser"
  kDesregistraUsuario,  // "UnregServerPerUser"
};

// A switch begins after any '-' or '/', is compared without regard to case
// and ends at a blank, a tab or the end of the line; the first recognised
// switch decides.
AcaoLinhaComando InterpretaLinhaComando(std::string_view linha);

}  // namespace qx
