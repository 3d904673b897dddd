#include "server/qx_analytics.h"

#include <mutex>

#include "diagnostics/error_log.h"

namespace {

// The single analytics object; the lock also keeps it alive while it merges.
std::mutex g_mutex;
CQXAnalytics* g_instancia = nullptr;

}  // namespace

CQXAnalytics::CQXAnalytics(std::string origem) : m_origem(std::move(origem)) {
  std::lock_guard lock(g_mutex);
  if (g_instancia != nullptr) {
    QXGravaLogErro(nullptr, "CQXAnalytics::CQXAnalytics", "QXAnalytics", __LINE__, "%s",
                   "Existe mais de uma inst\xE2ncia do main do servidor (ExeModuleT). Essa "
                   "deveria ser uma situa\xE7\xE3o imposs\xEDvel.");
    throw static_cast<int32_t>(E_QXCR_ANALYTICS_DUPLICADO);
  }
  g_instancia = this;
}

CQXAnalytics::~CQXAnalytics() {
  std::lock_guard lock(g_mutex);
  g_instancia = nullptr;
}

void CQXAnalytics::Merge(const qx::CallStatistics& estatisticas) {
  m_estatisticas.Merge(estatisticas);
}

void CQXAnalytics::MergeNoProcesso(const qx::CallStatistics& estatisticas) {
  std::lock_guard lock(g_mutex);
  if (g_instancia != nullptr) g_instancia->Merge(estatisticas);
}
