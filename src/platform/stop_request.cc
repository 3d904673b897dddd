#include "platform/stop_request.h"

#include <signal.h>

namespace qx {
namespace {

volatile sig_atomic_t g_signal = 0;
struct sigaction g_before[2];
constexpr int kSignals[2] = {SIGINT, SIGTERM};

void Note(int signal) { g_signal = signal; }

}  // namespace

StopRequest::StopRequest() {
  g_signal = 0;
  struct sigaction action {};
  action.sa_handler = Note;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (int i = 0; i < 2; ++i) sigaction(kSignals[i], &action, &g_before[i]);
}

StopRequest::~StopRequest() {
  for (int i = 0; i < 2; ++i) sigaction(kSignals[i], &g_before[i], nullptr);
}

int StopRequest::Signal() const { return g_signal; }

}  // namespace qx
