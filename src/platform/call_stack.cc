#include "platform/call_stack.h"

#include <execinfo.h>

#include <cstring>
#include <string_view>

namespace qx {
namespace {

// The name up to its parameter list: "main", "qx::Run", "RaiseException".
std::string_view WithoutParameters(std::string_view name) { return name.substr(0, name.find('(')); }

bool EndsTheWalk(std::string_view name) {
  std::string_view bare = WithoutParameters(name);
  return bare == "main" || bare == "RaiseException";
}

}  // namespace

void WarmUpCallStack() {
  void* frames[1];
  backtrace(frames, 1);
}

int CaptureCallStack(void** frames, int capacity, const void* start) {
  int count = backtrace(frames, capacity);
  for (int i = 0; i < count; ++i) {
    if (frames[i] == start) {
      std::memmove(frames, frames + i, static_cast<size_t>(count - i) * sizeof *frames);
      return count - i;
    }
  }
  return count;
}

std::string CallStackText(void* const* frames, int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    const char* address = static_cast<const char*>(frames[i]);
    std::string name = FunctionNameAt(i == 0 ? address : address - 1);
    text += name;
    text += '\n';
    if (EndsTheWalk(name)) break;
  }
  return text;
}

}  // namespace qx
