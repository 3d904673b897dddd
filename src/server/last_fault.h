// The last machine fault of the process: its exception code and, for the
// faults the frame handles, the text of its call stack. Every fault caught by
// a frame overwrites both; readers get a consistent pair.
#pragma once

#include <cstdint>
#include <string>

namespace qx {

struct UltimaFalha {
  uint32_t codigo = 0;
  std::string pilha;
};

// Keeps the code; the text too when the fault is one that the frame handles.
void GuardaUltimaFalha(uint32_t codigo, const std::string* pilha);
UltimaFalha LeUltimaFalha();

}  // namespace qx
