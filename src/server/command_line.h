// The switches of the server's command line.
#pragma once

#include <string>
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

// What a line without a registration switch asks of a person's terminal:
// nothing (run as the server), the usage, the version, or the usage because
// of an unknown switch. Words that start with '-' or '/' (one or two dashes)
// are switches: "Embedding" and "Automation", which the runtime passes, run
// the server; "h", "help" and "?" ask for the usage; "version" for the
// version; any other is unknown. Words without a dash or slash are skipped.
enum class PedidoLinhaComando { kServidor, kUso, kVersao, kDesconhecida };
PedidoLinhaComando VerificaLinhaComando(std::string_view linha, std::string* desconhecida);

}  // namespace qx
