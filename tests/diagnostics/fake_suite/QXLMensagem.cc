// Stand-in for the suite's message library: "Mensagem <code>" for every code,
// and a 500-character text for 0x8004FFFF.
//
// The texts are kept in one set for the library's lifetime rather than in a
// thread_local string: a thread_local with a destructor in a library that is
// opened and closed for every call defers the unload to thread exit, and the
// leak checker's scan of that dynamic thread storage at exit crashed at random.
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <set>
#include <string>
#include <utility>

extern "C" const char* QXGetDescricaoHRESULT(int32_t hr) {
  static std::mutex mutex;
  static std::set<std::string> texts;
  std::string text;
  if (static_cast<uint32_t>(hr) == 0x8004FFFFu) {
    text.assign(500, 'x');
  } else {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "Mensagem %08X", static_cast<unsigned>(hr));
    text = buffer;
  }
  const std::lock_guard<std::mutex> lock(mutex);
  return texts.insert(std::move(text)).first->c_str();
}
