// The system event log: each report goes to syslog under the event source's
// name as identity, with the priority of its type. Texts are Windows-1252.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qx {

// The event source of the system's reports.
inline constexpr char kFonteEventos[] = "QX Sistemas";

enum class EventType : uint16_t {
  kError = 1,
  kWarning = 2,
};

// One report: "[<event id>] " followed by the strings one after the other.
void ReportEvent(const std::string& source, EventType type, uint32_t eventId,
                 const std::vector<std::string>& strings);

// While a hook is set, reports go to it instead of syslog (any thread).
using EventLogHook = std::function<void(const std::string& source, EventType type, uint32_t eventId,
                                        const std::vector<std::string>& strings)>;
void SetEventLogHook(EventLogHook hook);

}  // namespace qx
