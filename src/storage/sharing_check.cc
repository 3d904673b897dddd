#include "storage/sharing_check.h"

#include <memory>

#include "platform/child_process.h"
#include "platform/file.h"
#include "platform/path.h"

namespace qx {
namespace {

constexpr char kTestFile[] = "QXCOMPARTILHA.tmp";
constexpr unsigned kChildSeconds = 30;

// How each probe opens the file: as a mark holds its file, as a writer
// ('G') and as a reader ('L') of the record files.
constexpr unsigned kMarca = CFile::modeReadWrite | CFile::shareExclusive;
constexpr unsigned kGrava = CFile::modeReadWrite | CFile::shareDenyWrite;
constexpr unsigned kLe = CFile::modeRead | CFile::shareDenyNone;

// One probe: while this process holds the file as `held`, another opens it
// as `tried`, and must succeed exactly when `allowed`.
struct Probe {
  unsigned held;
  unsigned tried;
  bool allowed;
  const char* what;
};

constexpr Probe kProbes[] = {
    {kMarca, kMarca, false, "uma marca tomada n\xE3o impede outra"},
    {kMarca, kLe, false, "uma marca tomada n\xE3o impede a leitura"},
    {kGrava, kGrava, false, "um arquivo aberto para grava\xE7\xE3o n\xE3o impede outro gravador"},
    {kGrava, kLe, true, "um arquivo aberto para grava\xE7\xE3o impede a leitura"},
    {kLe, kMarca, false, "um arquivo aberto para leitura n\xE3o impede uma marca"},
};

std::vector<std::string> Split(const std::string& options) {
  std::vector<std::string> parts;
  size_t at = 0;
  while (at <= options.size()) {
    const size_t comma = std::min(options.find(',', at), options.size());
    if (comma > at) parts.push_back(options.substr(at, comma - at));
    at = comma + 1;
  }
  return parts;
}

}  // namespace

std::vector<std::string> LocalLockOptions(const FileSystemInfo& fileSystem) {
  std::vector<std::string> found;
  for (const std::string& option : Split(fileSystem.options)) {
    if (option == "nolock" || option == "nobrl" || option == "local_lock=posix" ||
        option == "local_lock=all") {
      found.push_back(option);
    }
  }
  if (fileSystem.type.starts_with("fuse")) found.push_back(fileSystem.type);
  return found;
}

bool CheckSharing(const std::string& folder, SharingCheck* check, std::string* error) {
  *check = SharingCheck();
  check->folder = folder;
  if (!DescribeFileSystem(folder, &check->fileSystem)) {
    *error = "n\xE3o foi poss\xEDvel examinar a pasta \"" + folder + "\"";
    return false;
  }
  check->localLocks = LocalLockOptions(check->fileSystem);
  const std::string path = JoinPath(folder, kTestFile);
  for (const Probe& probe : kProbes) {
    auto held = std::make_unique<CFile>();
    CFileException failure;
    if (!held->Open(path.c_str(), probe.held | CFile::modeCreate | CFile::modeNoTruncate,
                    &failure)) {
      *error = "n\xE3o foi poss\xEDvel criar \"" + path + "\" (erro " +
               std::to_string(failure.m_lOsError) + ")";
      return false;
    }
    const auto tries = [&] {
      CFile other;
      return other.Open(path.c_str(), probe.tried) ? 1 : 0;
    };
    const int whileHeld = RunInChildProcess(tries, kChildSeconds);
    held.reset();
    const int afterwards = RunInChildProcess(tries, kChildSeconds);
    if (whileHeld != (probe.allowed ? 1 : 0)) check->lockFailures.push_back(probe.what);
    if (afterwards != 1) {
      check->lockFailures.push_back("uma trava continua depois que o processo a soltou");
    }
  }
  try {
    CFile::Remove(path.c_str());
  } catch (CFileException* e) {
    e->Delete();
  }
  return true;
}

}  // namespace qx
