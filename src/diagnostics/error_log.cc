#include "diagnostics/error_log.h"

#include <cstdarg>
#include <cstdio>
#include <string>

#include "contract/code_names.h"
#include "contract/hresult.h"
#include "diagnostics/code_description.h"
#include "diagnostics/profiler.h"
#include "diagnostics/versions.h"
#include "platform/process_info.h"
#include "values/text_format.h"

namespace qx {
namespace {

const char* Text(const char* text) { return text != nullptr ? text : ""; }

// Writes one error record: loads the profiler configuration when due, reads
// the memory figure, then formats the line with makeLine and hands it over.
template <typename MakeLine>
void GravaLinha(IQXDF_Profiler* identity, const char* funcao, const char* unidade, int linha,
                MakeLine makeLine) {
  QXProfilerGarantirConfiguracao();
  const int64_t memoria = ProcessPrivateMemory();
  QXProfilerErro valores;
  valores.versaoTarvo = VersaoSuite();
  valores.versaoSO = VersaoSistema();
  valores.log = makeLine();
  valores.arquivo = Text(unidade);
  valores.linha = std::to_string(linha);
  QXProfilerGravaErro(identity, Text(funcao), memoria, valores);
}

}  // namespace

std::string LinhaLogHresult(const char* variavel, const char* passo, HRESULT hr) {
  const std::string expressao = std::string(Text(variavel)) + " = " + Text(passo);
  return FormatText(
      "%s\t%s = %#X %s\tSEVERITY = %d %s\tFACILITY = %d %s\tCODE = %d %s\tDescri\xE7\xE3o = %s",
      expressao.c_str(), Text(variavel), static_cast<unsigned>(hr), QXDescricaoHresult(hr).c_str(),
      HresultSeverity(hr), SeverityName(hr).c_str(), HresultFacility(hr), FacilityName(hr).c_str(),
      HresultCode(hr), CodeName(hr).c_str(), SymbolicName(hr).c_str());
}

std::string LinhaLogStatus(const char* expressao, const char* variavel, int status, HRESULT hr) {
  return FormatText("%s\t%s = %d\tHR = %#X\tDescri\xE7\xE3o = %s", Text(expressao), Text(variavel),
                status, static_cast<unsigned>(hr), QXDescricaoHresult(hr).c_str());
}

}  // namespace qx

void QXGravaLogErro(IQXDF_Profiler* identity, const char* funcao, const char* unidade, int linha,
                    const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  qx::GravaLinha(identity, funcao, unidade, linha,
                 [&] { return fmt != nullptr ? qx::FormatTextV(fmt, args) : std::string(); });
  va_end(args);
}

void QXGravaLogHresult(IQXDF_Profiler* identity, const char* funcao, const char* unidade, int linha,
                       const char* variavel, const char* passo, HRESULT hr) {
  qx::GravaLinha(identity, funcao, unidade, linha,
                 [&] { return qx::LinhaLogHresult(variavel, passo, hr); });
}

void QXGravaLogStatus(IQXDF_Profiler* identity, const char* funcao, const char* unidade, int linha,
                      const char* expressao, const char* variavel, int status, HRESULT hr) {
  qx::GravaLinha(identity, funcao, unidade, linha,
                 [&] { return qx::LinhaLogStatus(expressao, variavel, status, hr); });
}
