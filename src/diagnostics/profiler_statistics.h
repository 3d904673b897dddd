// Call statistics: how often and how long each method ran, per company,
// application, class, method and user.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <tuple>

#include "contract/profiler_identity.h"

namespace qx {

struct CallKey {
  std::string empresa;     // company text of the identity
  std::string aplicativo;  // application of the identity's initialisation record
  std::string classe;      // class part of the frame name
  std::string metodo;      // method part of the frame name
  uint16_t usuario = 0;    // user number of the identity

  auto Tie() const { return std::tie(empresa, aplicativo, classe, metodo, usuario); }
  bool operator<(const CallKey& other) const { return Tie() < other.Tie(); }
  bool operator==(const CallKey& other) const { return Tie() == other.Tie(); }
};

struct CallFigures {
  int64_t count = 0;
  int64_t totalMs = 0;
  int64_t longestMs = 0;
  std::optional<int64_t> shortestMs;  // none until a call is counted

  void Add(int64_t durationMs);
  void Merge(const CallFigures& other);
};

// "Class::Method..." -> class part (before the first ':', cut at the first '<')
// and method part (after the first "::", cut at the next ':').
std::pair<std::string, std::string> SplitFrameName(const std::string& frameName);

// The statistics of one object, or of the whole process. Safe to use from
// several threads: a client may call one object from many.
class CallStatistics {
 public:
  // Counts one call of frameName for identity; start and end in 100 ns units.
  void RecordCall(IQXDF_Profiler* identity, const char* frameName, int64_t start100ns,
                  int64_t end100ns);
  // Adds every leaf of other into this map.
  void Merge(const CallStatistics& other);
  // Visits the leaves in key order (company first, user last).
  void ForEach(const std::function<void(const CallKey&, const CallFigures&)>& visit) const;
  bool Empty() const;

 private:
  mutable std::mutex mutex_;
  std::map<CallKey, CallFigures> leaves_;
};

}  // namespace qx
