#include "platform/runtime_folder.h"

#include <errno.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "platform/environment.h"

namespace qx {
namespace {

std::string Mode(mode_t mode) {
  char text[8];
  std::snprintf(text, sizeof(text), "%04o", static_cast<unsigned>(mode & 07777));
  return text;
}

}  // namespace

std::string RuntimeFolder() {
  std::string folder = GetEnvironmentText("QX_RUNTIME_DIR");
  if (!folder.empty()) return folder;
  return "/tmp/qx-" + std::to_string(geteuid());
}

std::string RuntimeFolderRefusal(const std::string& folder, const std::string& what) {
  return "a pasta de execução " + folder + " " + what +
         ". Apague-a ou defina QX_RUNTIME_DIR com uma pasta sua, de modo 0700.";
}

std::string CheckRuntimeFolder(const std::string& folder, RuntimeSide side) {
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    const int error = errno;
    return RuntimeFolderRefusal(folder,
                                "não pode ser criada (errno " + std::to_string(error) + ")");
  }
  struct stat info {};
  if (lstat(folder.c_str(), &info) != 0) {
    const int error = errno;
    return RuntimeFolderRefusal(folder, "não pode ser lida (errno " + std::to_string(error) + ")");
  }
  if (S_ISLNK(info.st_mode)) return RuntimeFolderRefusal(folder, "é um link simbólico");
  if (!S_ISDIR(info.st_mode)) return RuntimeFolderRefusal(folder, "não é uma pasta");
  const uid_t self = geteuid();
  if (info.st_uid != self && !(side == RuntimeSide::kClient && info.st_uid == 0)) {
    return RuntimeFolderRefusal(folder, "pertence ao usuário " + std::to_string(info.st_uid) +
                                            ", não a este (" + std::to_string(self) +
                                            "), e ele poderia pôr nela um servidor falso");
  }
  if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
    return RuntimeFolderRefusal(folder, "pode ser gravada por outros usuários (modo " +
                                            Mode(info.st_mode) +
                                            "), que poderiam pôr nela um servidor falso");
  }
  if ((info.st_mode & (S_IRGRP | S_IROTH)) != 0) {
    return RuntimeFolderRefusal(
        folder, "pode ser listada por outros usuários (modo " + Mode(info.st_mode) + ")");
  }
  return "";
}

bool SetRuntimeFolderMode(const std::string& folder, bool shared) {
  return chmod(folder.c_str(), shared ? 0711 : 0700) == 0;
}

}  // namespace qx
