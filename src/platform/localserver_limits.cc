#include "platform/localserver_limits.h"

#include <mutex>

namespace qx {
namespace {

std::mutex g_mutex;
ServerLimits g_limits;

}  // namespace

ServerLimits GetServerLimits() {
  std::lock_guard lock(g_mutex);
  return g_limits;
}

void SetServerLimits(const ServerLimits& limits) {
  std::lock_guard lock(g_mutex);
  g_limits = limits;
}

}  // namespace qx
