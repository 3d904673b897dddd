// Stand-in for the suite's message library: "Mensagem <code>" for every code,
// and a 500-character text for 0x8004FFFF.
#include <cstdint>
#include <cstdio>
#include <string>

extern "C" const char* QXGetDescricaoHRESULT(int32_t hr) {
  thread_local std::string text;
  if (static_cast<uint32_t>(hr) == 0x8004FFFFu) {
    text.assign(500, 'x');
  } else {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "Mensagem %08X", static_cast<unsigned>(hr));
    text = buffer;
  }
  return text.c_str();
}
