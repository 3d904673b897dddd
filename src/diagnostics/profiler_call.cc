#include "diagnostics/profiler_call.h"

#include "diagnostics/profiler.h"
#include "diagnostics/profiler_state.h"
#include "diagnostics/profiler_writer.h"

namespace qx {

ProfilerCall::ProfilerCall(IQXDF_Profiler* identity) { record_.identidade = identity; }

void ProfilerCall::Entry(const char* frameName, std::initializer_list<ProfilerPair> pairs) {
  if (!ProfilerIsOn()) return;
  record_.entrou = true;
  record_.funcao = frameName != nullptr ? frameName : "";
  size_t i = 0;
  for (const ProfilerPair& pair : pairs) {
    if (i == kProfilerPairs) break;
    record_.nomes[i] = pair.nome;
    record_.valores[i] = pair.valor;
    ++i;
  }
  QXProfilerGarantirConfiguracao();
  ProfilerSwitches on = CurrentProfilerSwitches();
  if (!on.ligado) return;
  record_.processo = ProfilerProcessName();
  if (!on.filtroPassa) return;
  record_.usuarioLocal = ProfilerLocalUser();
  if (on.entrada && on.saida) record_.guid = NewPairingId();
  if (on.performance) record_.ticksInicio = GetTickCount64();
  if (on.memory) record_.memoriaEntrada = ProcessPrivateMemory();
  if (on.entrada) {
    GetLocalTime(&record_.dataHora);
    WriteProfilerRecord(record_, ProfilerRecordType::kEntrou);
  }
}

void ProfilerCall::Close() {
  if (!record_.entrou) return;
  record_.entrou = false;
  if (!ProfilerIsOn()) return;
  ProfilerSwitches on = CurrentProfilerSwitches();
  if (!on.saida || !on.filtroPassa) return;
  // A reading between entry and exit may have let this process through only now.
  record_.processo = ProfilerProcessName();
  record_.usuarioLocal = ProfilerLocalUser();
  if (on.performance) record_.ticksFim = GetTickCount64();
  if (on.memory) record_.memoriaSaida = ProcessPrivateMemory();
  GetLocalTime(&record_.dataHora);
  WriteProfilerRecord(record_, ProfilerRecordType::kSaiu);
}

}  // namespace qx
