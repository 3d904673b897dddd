#include "diagnostics/profiler_writer.h"

#include "diagnostics/profiler.h"
#include "diagnostics/profiler_files.h"
#include "diagnostics/profiler_state.h"
#include "platform/guid.h"
#include "storage/folders/folders.h"

namespace qx {
namespace {

// The error file's path: the company's base data folder when the identity
// names a company that has one, else the installation folder.
std::string ErrorFile(const ProfilerRecord& record) {
  const char* empresa = record.identidade != nullptr ? record.identidade->GetEmpresa() : nullptr;
  if (empresa != nullptr && *empresa != '\0') {
    std::string folder = CompanyFolder(kModuloDadosBase, empresa);
    if (!folder.empty()) return ErrorFilePath(folder, true, record.dataHora);
  }
  std::string folder = ProfilerInstallationFolder();
  return folder.empty() ? std::string() : ErrorFilePath(folder, false, record.dataHora);
}

}  // namespace

std::string NewPairingId() {
  GUID guid{};
  return SUCCEEDED(CoCreateGuid(&guid)) ? GuidToText(guid) : std::string();
}

bool WriteProfilerRecord(const ProfilerRecord& record, ProfilerRecordType type) {
  QXProfilerGarantirConfiguracao();  // the installation folder comes with a reading
  bool erro = type == ProfilerRecordType::kErro;
  std::string path;
  if (erro) {
    path = ErrorFile(record);
  } else {
    std::string folder = ProfilerInstallationFolder();
    if (!folder.empty()) path = ProfilerFilePath(folder);
  }
  if (path.empty()) return false;
  std::string line = FormatProfilerLine(record, type, MachinePhysicalMemory(), CurrentThreadId());
  return AppendProfilerLine(path, erro ? ErrorFileHeader() : ProfilerFileHeader(), line);
}

}  // namespace qx
