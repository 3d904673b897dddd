// The text forms of the composite origin key: any text parses or is refused
// without fault, and a key read from a text of form 0 or 1 writes back a text
// that reads as the same key.
#include <cstdint>
#include <string>

#include "values/qx_chave_composta.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int form = data[0] % 7 - 1;  // -1 to 5, unknown forms included
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  CQXChaveComposta key;
  if (!key.Parse(text.c_str(), form)) {
    if (!key.IsEmpty()) __builtin_trap();
    return 0;
  }
  for (int out = 0; out <= 5; ++out) key.Text(out);
  if ((form == 0 || form == 1) && key.IsValid()) {
    CQXChaveComposta again;
    if (!again.Parse(key.Text(form).c_str(), form) || again != key) __builtin_trap();
  }
  return 0;
}
