// The profile reader of "log.ini": the input's first line names a section
// and a key ("section=key"), the whole input is the file. Any content reads
// without fault, and the default string comes with the default number.
#include <cstdint>
#include <fstream>
#include <string>
#include <string_view>

#include "fuzz_folder.h"
#include "platform/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string path = qx::fuzz::FuzzFolder() + "/log.ini";
  std::ofstream(path, std::ios::binary | std::ios::trunc) << input;

  const std::string_view first = input.substr(0, input.find('\n'));
  const size_t equals = first.find('=');
  const std::string_view section = first.substr(0, equals);
  const std::string_view key = equals == first.npos ? "Ativo" : first.substr(equals + 1);
  for (const std::string_view name : {section, std::string_view("Log")}) {
    const std::string text = GetPrivateProfileString(name, key, " default ", path);
    const int number = GetPrivateProfileInt(name, key, -7, path);
    if (text == " default" && number != -7) __builtin_trap();
  }
  return 0;
}
