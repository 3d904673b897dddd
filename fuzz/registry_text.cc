// The registry store's file reader: any bytes (UTF-16, UTF-8, Windows-1252)
// are decoded and parsed into a tree; writing that tree and reading it again
// gives the same tree, so a file the store rewrote keeps every key and value.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/registry_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text =
      qx::DecodeRegistryBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  const qx::ParsedRegistry parsed = qx::ParseRegistryText(text);
  const std::string written = qx::FormatRegistry(*parsed.root);
  const qx::ParsedRegistry again = qx::ParseRegistryText(qx::DecodeRegistryBytes(written));
  if (qx::FormatRegistry(*again.root) != written) __builtin_trap();
  return 0;
}
