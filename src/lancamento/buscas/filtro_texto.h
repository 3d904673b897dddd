// The comparison form of complement texts in the searches: accents folded
// (À..Å to A, Ç to C, ñ to n, ÿ to y, ...) and letters lower-cased, byte by
// byte in Windows-1252, so that "acao" is found in "AÇÃO DE COBRANÇA".
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qx {

// The comparison form of one byte; every byte that is not an accented or
// upper-case letter is kept.
char DobraCaractere(char c);

// The comparison form of a text.
std::string DobraTexto(std::string_view texto);
// In place, for `tamanho` bytes.
void DobraTexto(char* texto, size_t tamanho);

}  // namespace qx
