#include "diagnostics/profiler.h"

#include <string_view>

#include "diagnostics/profiler_state.h"
#include "diagnostics/profiler_writer.h"

namespace qx {
namespace {

// A record of this process, stamped now, with a new pairing id.
ProfilerRecord NewRecord(IQXDF_Profiler* identity, const char* funcao) {
  ProfilerRecord record;
  GetLocalTime(&record.dataHora);
  record.identidade = identity;
  record.funcao = funcao != nullptr ? funcao : "";
  record.guid = NewPairingId();
  record.processo = ProfilerProcessName();
  record.usuarioLocal = ProfilerLocalUser();
  return record;
}

// The user-type name without " Class": the class's ProgID as logs show it.
std::string WithoutClassWord(std::string name) {
  static constexpr std::string_view kClass = " Class";
  for (size_t at = name.find(kClass); at != std::string::npos; at = name.find(kClass, at))
    name.erase(at, kClass.size());
  return name;
}

}  // namespace

void ProfilerWritePeerCreation(const char* userTypeName) {
  if (!ProfilerIsOn()) return;
  ProfilerSwitches on = CurrentProfilerSwitches();
  if (!on.coCreateInstance || !on.filtroPassa) return;
  CQXProfilerEmpresa empty;
  ProfilerRecord record = NewRecord(&empty, "QXCoCreateInstance");
  record.nomes[0] = "ProgID";
  record.valores[0] = WithoutClassWord(userTypeName != nullptr ? userTypeName : "");
  record.nomes[1] = "Modulo";
  record.valores[1] = ExecutableFileName();
  WriteProfilerRecord(record, ProfilerRecordType::kCoCreate);
}

}  // namespace qx

void QXProfilerGravaErro(IQXDF_Profiler* identity, const char* funcao, int64_t memoria,
                         const QXProfilerErro& valores) {
  qx::ProfilerRecord record = qx::NewRecord(identity, funcao);
  record.memoriaEntrada = memoria;
  record.nomes = {"VersaoTarvo", "VersaoSO", "Arquivo", "Linha", "Log"};
  record.valores = {valores.versaoTarvo, valores.versaoSO, valores.arquivo, valores.linha,
                    valores.log};
  qx::WriteProfilerRecord(record, qx::ProfilerRecordType::kErro);
}
