// The hand-over of an object's call statistics, when the object goes away, to
// the process's usage analytics.
#pragma once

#include "diagnostics/profiler_statistics.h"

namespace qx {

void EntregaEstatisticasUso(const CallStatistics& estatisticas);

}  // namespace qx
