#include "server/usage_handoff.h"

#include "server/qx_analytics.h"

namespace qx {

void EntregaEstatisticasUso(const CallStatistics& estatisticas) {
  CQXAnalytics::MergeNoProcesso(estatisticas);
}

}  // namespace qx
