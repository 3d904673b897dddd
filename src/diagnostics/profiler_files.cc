#include "diagnostics/profiler_files.h"

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <thread>

#include "platform/file.h"
#include "platform/path.h"

namespace qx {
namespace {

constexpr char kCommonHeader[] =
    "Data\tHora\tProcesso\tUsuarioLocal\tClasseFuncao\tGuid\tEmpresa\tUsuario\tSessao\tThreadID\t"
    "Empresa\tUsuario\tNumeroSessao\tUsuarioDominio\tAplicativo\tModuleName\tArquivoFonte\t"
    "LinhaFonte\tWTS\tFiller\tFiller\tTipo\tMemoriaDisponivel\tMemoriaTotal\tMemoriaComponente\t";
constexpr char kParametersHeader[] =
    "\tParameter1\tParameter2\tParameter3\tParameter4\tParameter5\tParameter6\tParameter7\t"
    "Parameter8\tParameter9\n";

constexpr int kOpenAttempts = 19;

// Causes that no second attempt can mend.
bool Hopeless(int cause) {
  return cause == CFileException::fileNotFound || cause == CFileException::badPath ||
         cause == CFileException::invalidFile || cause == CFileException::hardIO;
}

// Threads of this process take turns, so that they never spend their attempts
// on each other; other processes are kept out by the share mode.
std::mutex& AppendMutex() {
  static std::mutex mutex;
  return mutex;
}

bool OpenForAppend(CFile* file, const std::string& path) {
  for (int attempt = 1; attempt <= kOpenAttempts; ++attempt) {
    CFileException error;
    if (file->Open(
            path.c_str(),
            CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite | CFile::shareDenyWrite,
            &error))
      return true;
    if (Hopeless(error.m_cause)) return false;
    std::this_thread::yield();
  }
  return false;
}

}  // namespace

const std::string& ProfilerFileHeader() {
  static const std::string header =
      std::string(kCommonHeader) + "Duracao\tDeltaMemoria" + kParametersHeader;
  return header;
}

const std::string& ErrorFileHeader() {
  static const std::string header =
      std::string(kCommonHeader) + "VersaoTarvo\tVersaoSO\tArquivo\tLinha\tLog" + kParametersHeader;
  return header;
}

std::string ProfilerFilePath(const std::string& folder) {
  return JoinPath(folder, "QXProfiler.log");
}

std::string ErrorFilePath(const std::string& folder, bool companyFile, const SYSTEMTIME& when) {
  char name[48];
  std::snprintf(name, sizeof name, "QXProfilerErros_%s_%04d%02d.log", companyFile ? "Base" : "Pgms",
                std::clamp<int>(when.wYear, 1848, 4717), std::clamp<int>(when.wMonth, 0, 99));
  return JoinPath(folder, name);
}

bool AppendProfilerLine(const std::string& path, const std::string& header,
                        const std::string& line) {
  std::lock_guard lock(AppendMutex());
  CFile file;
  if (!OpenForAppend(&file, path)) return false;
  try {
    // The file is ours alone now, so an empty file is a new one.
    std::string text = file.SeekToEnd() == 0 ? header + line : line;
    file.Write(text.data(), static_cast<uint32_t>(text.size()));
    file.Close();
    return true;
  } catch (CFileException* e) {
    e->Delete();
    file.Abort();
    return false;
  }
}

}  // namespace qx
