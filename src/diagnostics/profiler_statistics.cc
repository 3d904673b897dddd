#include "diagnostics/profiler_statistics.h"

#include <algorithm>

namespace qx {

void CallFigures::Add(int64_t durationMs) {
  ++count;
  totalMs += durationMs;
  longestMs = std::max(longestMs, durationMs);
  shortestMs = shortestMs ? std::min(*shortestMs, durationMs) : durationMs;
}

void CallFigures::Merge(const CallFigures& other) {
  count += other.count;
  totalMs += other.totalMs;
  longestMs = std::max(longestMs, other.longestMs);
  if (other.shortestMs)
    shortestMs = shortestMs ? std::min(*shortestMs, *other.shortestMs) : *other.shortestMs;
}

std::pair<std::string, std::string> SplitFrameName(const std::string& frameName) {
  std::string classe = frameName.substr(0, frameName.find(':'));
  classe = classe.substr(0, classe.find('<'));
  std::string metodo;
  size_t separator = frameName.find("::");
  if (separator != std::string::npos) {
    metodo = frameName.substr(separator + 2);
    metodo = metodo.substr(0, metodo.find(':'));
  }
  return {classe, metodo};
}

void CallStatistics::RecordCall(IQXDF_Profiler* identity, const char* frameName, int64_t start100ns,
                                int64_t end100ns) {
  CallKey key;
  if (identity != nullptr) {
    const char* empresa = identity->GetEmpresa();
    key.empresa = empresa != nullptr ? empresa : "";
    key.usuario = identity->GetUsuario();
    if (const _REG_DF_INICIALIZAPS* record = identity->GetRegistroInicializacao())
      key.aplicativo = FieldText(record->szAplicativo);
  }
  std::tie(key.classe, key.metodo) = SplitFrameName(frameName != nullptr ? frameName : "");
  // A clock set back during the call gives no negative duration.
  int64_t durationMs = std::max<int64_t>(0, (end100ns - start100ns) / 10000);
  std::lock_guard lock(mutex_);
  leaves_[key].Add(durationMs);
}

void CallStatistics::Merge(const CallStatistics& other) {
  if (&other == this) return;
  std::scoped_lock lock(mutex_, other.mutex_);
  for (const auto& [key, figures] : other.leaves_) leaves_[key].Merge(figures);
}

void CallStatistics::ForEach(
    const std::function<void(const CallKey&, const CallFigures&)>& visit) const {
  std::lock_guard lock(mutex_);
  for (const auto& [key, figures] : leaves_) visit(key, figures);
}

bool CallStatistics::Empty() const {
  std::lock_guard lock(mutex_);
  return leaves_.empty();
}

}  // namespace qx
