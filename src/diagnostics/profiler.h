// The profiler log: configuration, failure records and peer-creation records.
// The call record of a frame is in profiler_call.h, call statistics in
// profiler_statistics.h.
#pragma once

#include <cstdint>
#include <string>

#include "contract/profiler_identity.h"

// The named values of a failure record.
struct QXProfilerErro {
  std::string versaoTarvo;  // "VersaoTarvo": the suite's version
  std::string versaoSO;     // "VersaoSO": the system's version
  std::string arquivo;      // "Arquivo": source unit
  std::string linha;        // "Linha": line in the source unit
  std::string log;          // "Log": the error log line
};

// Writes one failure ("ERRO") record for identity (may be null) and funcao,
// with memoria as the process's memory, whatever the configuration says.
void QXProfilerGravaErro(IQXDF_Profiler* identity, const char* funcao, int64_t memoria,
                         const QXProfilerErro& valores);

// Reads "log.ini" when the last reading has run out (or there was none).
void QXProfilerGarantirConfiguracao();

namespace qx {

// Writes the peer-creation ("COCREATE") record of a class, when the profiler
// and "CoCreateInstance" are on and the process filter passes. userTypeName is
// the class's user-type name ("QXCN_Lancamento Class").
void ProfilerWritePeerCreation(const char* userTypeName);

}  // namespace qx
