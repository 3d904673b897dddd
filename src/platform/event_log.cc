#include "platform/event_log.h"

#include <syslog.h>

#include <mutex>

#include "platform/codepage.h"

namespace qx {
namespace {

struct EventLog {
  std::mutex mutex;  // openlog's identity is process-wide
  EventLogHook hook;
};

EventLog& TheEventLog() {
  static EventLog* log = new EventLog;
  return *log;
}

}  // namespace

void ReportEvent(const std::string& source, EventType type, uint32_t eventId,
                 const std::vector<std::string>& strings) {
  EventLog& log = TheEventLog();
  std::unique_lock lock(log.mutex);
  if (log.hook) {
    EventLogHook hook = log.hook;
    lock.unlock();
    hook(source, type, eventId, strings);
    return;
  }
  std::string text = "[" + std::to_string(eventId) + "] ";
  for (const std::string& part : strings) text += part;
  // openlog keeps the pointer: the identity must live until closelog.
  const std::string identity = Cp1252ToUtf8(source);
  openlog(identity.c_str(), LOG_PID, LOG_USER);
  syslog(type == EventType::kError ? LOG_ERR : LOG_WARNING, "%s", Cp1252ToUtf8(text).c_str());
  closelog();
}

void SetEventLogHook(EventLogHook hook) {
  std::lock_guard lock(TheEventLog().mutex);
  TheEventLog().hook = std::move(hook);
}

}  // namespace qx
