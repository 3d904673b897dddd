// What a client hands in for a save, in the form the save takes it: the entry
// data of GravaDados, a complement text, split lines and their quantities.
// The published interface's setters and the batch interface share these.
#pragma once

#include <string_view>

#include "contract/records_entry.h"
#include "contract/records_split.h"
#include "lancamento/lancamento_atual.h"

namespace qx {

// Copies the entry data into the current entry: every field a save writes
// but the complement and split positions, the session key and the checked
// mark, which the save sets itself.
void CopiaDadosParaAtual(const RegDados& dados, LancamentoAtual* atual);

// Sets the complement text from Windows-1252 bytes: at most 511 are kept, up
// to an embedded zero byte, and a text longer than 500 bytes becomes its
// first 499 and a carriage return. The complement position becomes 0.
void DefineComplemento(std::string_view texto, LancamentoAtual* atual);

// A split line as the save takes it: the owner word keeps the client's
// value, which the save ORs the entry's index into.
REGLAN_GER DoCliente(const RegLan_Ger& registro);
REGQTD_GER DoCliente(const RegQtd_Ger& registro);

}  // namespace qx
