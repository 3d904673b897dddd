// One profiler record, built in memory for each line, and its text line.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "contract/profiler_identity.h"
#include "platform/clock.h"
#include "platform/process_info.h"

namespace qx {

// The Tipo column.
enum class ProfilerRecordType { kEntrou = 0, kSaiu = 1, kCoCreate = 2, kErro = 3 };

constexpr size_t kProfilerPairs = 9;

struct ProfilerRecord {
  SYSTEMTIME dataHora{};                            // local time the record was built
  IQXDF_Profiler* identidade = nullptr;             // object concerned, or none
  std::string funcao;                               // frame name
  std::string guid;                                 // pairing id, or empty
  std::string processo;                             // executable's base name, lower case
  std::string usuarioLocal;                         // operating-system user
  std::array<std::string, kProfilerPairs> nomes;    // parameter names
  std::array<std::string, kProfilerPairs> valores;  // parameter values as text
  uint64_t ticksInicio = 0;                         // tick count at entry
  uint64_t ticksFim = 0;                            // tick count at exit
  int64_t memoriaEntrada = 0;                       // private memory at entry
  int64_t memoriaSaida = 0;                         // private memory at exit
  bool entrou = false;                              // the entry step ran
};

// The record as one line ending in a line feed, with the machine's memory and
// the writing thread's id. Carriage returns and line feeds inside the columns
// are dropped so that a record is always exactly one line.
std::string FormatProfilerLine(const ProfilerRecord& record, ProfilerRecordType type,
                               const PhysicalMemory& machine, uint32_t threadId);

}  // namespace qx
