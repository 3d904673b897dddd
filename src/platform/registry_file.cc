#include "platform/registry_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <map>
#include <mutex>

#include "platform/registry.h"
#include "platform/registry_format.h"

namespace qx {
namespace {

// A file changed twice within the file system's timestamp granularity may
// keep its time and size; a cache entry younger than this is not trusted.
constexpr int64_t kRacyNanoseconds = 100'000'000;

struct Signature {
  bool exists = false;
  dev_t dev = 0;
  ino_t ino = 0;
  off_t size = 0;
  int64_t mtime_ns = 0;
  int64_t ctime_ns = 0;
  bool operator==(const Signature&) const = default;
};

int64_t Nanoseconds(const timespec& t) { return t.tv_sec * 1'000'000'000LL + t.tv_nsec; }

Signature SignatureOf(const struct stat& st) {
  return {true, st.st_dev, st.st_ino, st.st_size, Nanoseconds(st.st_mtim), Nanoseconds(st.st_ctim)};
}

int64_t NowNanoseconds() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return Nanoseconds(now);
}

long StatusOfErrno(int error) {
  return error == EACCES || error == EPERM || error == EROFS ? ERROR_ACCESS_DENIED
                                                             : ERROR_CANTWRITE;
}

struct CacheEntry {
  Signature signature;
  bool trusted = false;
  std::shared_ptr<const RegNode> tree;
};

std::mutex g_mutex;
std::map<std::string, CacheEntry> g_cache;
// Path -> the unreadable lines last reported, so that neither a re-read nor a
// rewrite that keeps them reports them again.
std::map<std::string, std::vector<std::string>> g_reported;

// Reads the whole file; a missing file reads as empty with exists false.
long ReadFile(const std::string& path, std::string* bytes, Signature* signature) {
  bytes->clear();
  *signature = {};
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
  struct stat st {};
  long status = fstat(fd, &st) == 0 ? ERROR_SUCCESS : ERROR_INVALID_DATA;
  if (status == ERROR_SUCCESS) *signature = SignatureOf(st);
  char buffer[65536];
  for (ssize_t n; status == ERROR_SUCCESS && (n = read(fd, buffer, sizeof buffer)) != 0;) {
    if (n > 0) {
      bytes->append(buffer, static_cast<size_t>(n));
    } else if (errno != EINTR) {
      status = ERROR_INVALID_DATA;
    }
  }
  close(fd);
  return status;
}

// Parses and reports unreadable lines once. Needs g_mutex.
std::unique_ptr<RegNode> Parse(const std::string& path, const std::string& bytes) {
  ParsedRegistry parsed = ParseRegistryText(DecodeRegistryBytes(bytes));
  std::sort(parsed.malformed_texts.begin(), parsed.malformed_texts.end());
  std::vector<std::string>& reported = g_reported[path];
  if (parsed.malformed_lines.empty()) reported.clear();
  if (!parsed.malformed_lines.empty() && reported != parsed.malformed_texts) {
    reported = std::move(parsed.malformed_texts);
    std::string lines;
    for (size_t line : parsed.malformed_lines) lines += " " + std::to_string(line);
    std::fprintf(stderr, "registry %s: unreadable lines skipped:%s\n", path.c_str(), lines.c_str());
  }
  return std::move(parsed.root);
}

bool CurrentSignature(const std::string& path, Signature* signature) {
  struct stat st {};
  if (stat(path.c_str(), &st) == 0) {
    *signature = SignatureOf(st);
    return true;
  }
  *signature = {};
  return errno == ENOENT || errno == ENOTDIR;
}

void MakeFolders(const std::string& path) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    mkdir(path.substr(0, slash).c_str(), 0755);
  }
}

// Writes the tree to a temporary file beside `path` and renames it over.
long Replace(const std::string& path, const RegNode& root) {
  std::string text = FormatRegistry(root);
  std::string temp = path + ".XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) return StatusOfErrno(errno);
  // The store names the programs that clients start: its owner alone may
  // write it, and only its owner, or the office group of an installation that
  // shares it, may read it.
  struct stat old {};
  if (stat(path.c_str(), &old) == 0) {
    // Fails when a user rewrites another's store, which becomes the writer's.
    const int kept = fchown(fd, old.st_uid, old.st_gid);
    (void)kept;
    fchmod(fd, old.st_mode & 0640);
  } else {
    fchmod(fd, 0600);
  }
  long status = ERROR_SUCCESS;
  for (size_t done = 0; status == ERROR_SUCCESS && done < text.size();) {
    ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
    } else if (errno != EINTR) {
      status = StatusOfErrno(errno);
    }
  }
  if (status == ERROR_SUCCESS && fsync(fd) != 0) status = StatusOfErrno(errno);
  close(fd);
  if (status == ERROR_SUCCESS && rename(temp.c_str(), path.c_str()) != 0) {
    status = StatusOfErrno(errno);
  }
  if (status != ERROR_SUCCESS) {
    unlink(temp.c_str());
    return status;
  }
  size_t slash = path.rfind('/');
  int dir = open(slash == std::string::npos ? "." : path.substr(0, slash + 1).c_str(),
                 O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return ERROR_SUCCESS;
}

}  // namespace

std::shared_ptr<const RegNode> LoadRegistryFile(const std::string& path, long* status) {
  std::lock_guard<std::mutex> lock(g_mutex);
  Signature now;
  if (!CurrentSignature(path, &now)) {
    *status = ERROR_ACCESS_DENIED;
    return nullptr;
  }
  auto it = g_cache.find(path);
  if (it != g_cache.end() && it->second.trusted && it->second.signature == now) {
    *status = ERROR_SUCCESS;
    return it->second.tree;
  }
  std::string bytes;
  CacheEntry entry;
  *status = ReadFile(path, &bytes, &entry.signature);
  if (*status != ERROR_SUCCESS) return nullptr;
  entry.tree = Parse(path, bytes);
  entry.trusted =
      !entry.signature.exists || NowNanoseconds() - entry.signature.mtime_ns > kRacyNanoseconds;
  g_cache[path] = entry;
  return entry.tree;
}

long EditRegistryFile(const std::string& path,
                      const std::function<long(RegNode* root, bool* changed)>& change) {
  MakeFolders(path);
  int lock_fd = open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (lock_fd < 0) return StatusOfErrno(errno);
  fchmod(lock_fd, 0600);  // whatever the umask left of it, the next writer opens it too
  int locked;
  do {
    locked = flock(lock_fd, LOCK_EX);
  } while (locked != 0 && errno == EINTR);
  if (locked != 0) {
    close(lock_fd);
    return ERROR_CANTWRITE;
  }
  std::string bytes;
  Signature signature;
  long status = ReadFile(path, &bytes, &signature);
  std::unique_ptr<RegNode> root;
  if (status == ERROR_SUCCESS) {
    std::lock_guard<std::mutex> lock(g_mutex);
    root = Parse(path, bytes);
  }
  bool changed = false;
  if (status == ERROR_SUCCESS) status = change(root.get(), &changed);
  if (status == ERROR_SUCCESS && changed) {
    status = Replace(path, *root);
    std::lock_guard<std::mutex> lock(g_mutex);
    g_cache.erase(path);
  }
  close(lock_fd);
  return status;
}

}  // namespace qx
