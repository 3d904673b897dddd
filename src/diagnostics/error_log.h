// The error log line: one failure written as an error record of the profiler
// log, with the suite's and the system's version, the source unit and line,
// and the process's private memory. Texts are Windows-1252.
#pragma once

#include <string>

#include "contract/profiler_identity.h"
#include "platform/com_types.h"

// A line of free format: fmt formatted with the values that follow (for
// 64-bit numbers use PRId64 where Windows formats say "%I64d").
void QXGravaLogErro(IQXDF_Profiler* identity, const char* funcao, const char* unidade, int linha,
                    const char* fmt, ...) __attribute__((format(printf, 5, 6)));

// The standard line of a failed step: "<variavel> = <passo>", the code and its
// names (see qx::LinhaLogHresult).
void QXGravaLogHresult(IQXDF_Profiler* identity, const char* funcao, const char* unidade, int linha,
                       const char* variavel, const char* passo, HRESULT hr);

// The line of a record-file status and the HRESULT made from it.
void QXGravaLogStatus(IQXDF_Profiler* identity, const char* funcao, const char* unidade, int linha,
                      const char* expressao, const char* variavel, int status, HRESULT hr);

namespace qx {

// "%s\t%s = %#X %s\tSEVERITY = %d %s\tFACILITY = %d %s\tCODE = %d %s\tDescrição = %s"
// with the expression, the variable, the code, its description, severity bit
// and name, facility number and name, low word and its name, and the
// symbolic name.
std::string LinhaLogHresult(const char* variavel, const char* passo, HRESULT hr);

// "%s\t%s = %d\tHR = %#X\tDescrição = %s" with the expression, the status
// variable, the status, the code and the code's description.
std::string LinhaLogStatus(const char* expressao, const char* variavel, int status, HRESULT hr);

}  // namespace qx
