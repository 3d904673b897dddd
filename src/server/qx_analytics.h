// The process's usage analytics: the call statistics of every object of the
// process, merged as each object goes, and handed to the suite's analytics
// service when the process ends. One object per process (a base of the
// server's module).
#pragma once

#include <string>

#include "diagnostics/profiler_statistics.h"
#include "platform/com_types.h"

inline constexpr HRESULT E_QXCR_ANALYTICS_DUPLICADO = static_cast<HRESULT>(0x81080C5Au);

class CQXAnalytics {
 public:
  // Becomes the process's analytics object. When one exists already, writes
  // the error log line and throws E_QXCR_ANALYTICS_DUPLICADO (as int32_t).
  // origem names the sending server in the figures.
  explicit CQXAnalytics(std::string origem);
  virtual ~CQXAnalytics();
  CQXAnalytics(const CQXAnalytics&) = delete;
  CQXAnalytics& operator=(const CQXAnalytics&) = delete;

  // Adds every leaf of an object's statistics to the process's.
  void Merge(const qx::CallStatistics& estatisticas);
  // Sends the merged figures, company by company, when "AnalyticsAtivado" is
  // set and the installation folder is known, unless this executable is the
  // analytics server itself. Failures are logged and change nothing else.
  void Envia();

  // Merges into the process's analytics object; dropped when there is none.
  static void MergeNoProcesso(const qx::CallStatistics& estatisticas);

 private:
  bool Ativado() const;

  std::string m_origem;
  qx::CallStatistics m_estatisticas;  // guarded by its own lock
};
