// The runtime folder and the server found there, as clients and servers see them: neither
// uses a folder that another user could have put a socket in, and a client leaves a server
// of another user before it sends a byte.
#include <sys/socket.h>
#include <sys/un.h>

#include <cstring>
#include <filesystem>

#include "platform/unix_socket.h"
#include "runtime_support.h"

namespace qx::test {
namespace {

class RuntimeFolderTest : public RuntimeTest {
 protected:
  // The last report is a refusal of kind `event` that names `folder` and contains `what`.
  void ExpectRefusal(RuntimeEvent event, const std::string& folder, const std::string& what) {
    const std::vector<Report> reports = Reports();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back().event, event);
    EXPECT_NE(reports.back().text.find(folder), std::string::npos) << reports.back().text;
    EXPECT_NE(reports.back().text.find(what), std::string::npos) << reports.back().text;
  }
};

enum class Kind { kAbsent, kFolder, kLink, kFile, kNobodys };

// Makes `path` what the case says it is.
void Make(const std::string& path, Kind kind, mode_t mode, const std::string& elsewhere) {
  std::filesystem::remove_all(path);
  switch (kind) {
    case Kind::kAbsent:
      return;
    case Kind::kFolder:
    case Kind::kNobodys:
      ASSERT_EQ(mkdir(path.c_str(), 0700), 0);
      ASSERT_EQ(chmod(path.c_str(), mode), 0);
      if (kind == Kind::kNobodys) {
        ASSERT_EQ(chown(path.c_str(), kNobody, kNobody), 0);
      }
      return;
    case Kind::kLink:
      std::filesystem::create_directory(elsewhere);
      ASSERT_EQ(chmod(elsewhere.c_str(), 0700), 0);
      ASSERT_EQ(symlink(elsewhere.c_str(), path.c_str()), 0);
      return;
    case Kind::kFile:
      WriteText(path, "x");
      return;
  }
}

TEST_F(RuntimeFolderTest, FoldersThatOthersCouldUseAreRefusedByClientsAndServers) {
  const std::string run = folder_ / "run";
  ScopedEnv runtime(kRuntime, run);
  const struct {
    Kind kind;
    mode_t mode;
    const char* refusal;  // a word of the refusal; null when the folder is used
  } cases[] = {
      {Kind::kAbsent, 0, nullptr},  // made 0700
      {Kind::kFolder, 0700, nullptr},
      {Kind::kFolder, 0711, nullptr},  // others may enter: a server's shared form
      {Kind::kFolder, 0755, "listada"},
      {Kind::kFolder, 0740, "listada"},
      {Kind::kFolder, 0733, "gravada"},
      {Kind::kFolder, 01777, "gravada"},  // /tmp's mode: anyone may add a socket
      {Kind::kLink, 0, "link"},
      {Kind::kFile, 0, "não é uma pasta"},
      {Kind::kNobodys, 0700, "pertence ao usuário 65534"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << "kind " << static_cast<int>(c.kind) << " mode 0" << std::oct << c.mode);
    if (c.kind == Kind::kNobodys && geteuid() != 0) {
      std::printf("skipped the folder of another user: needs root\n");
      continue;
    }
    Make(run, c.kind, c.mode, folder_ / "elsewhere");
    // Nothing is registered: a client that trusts the folder goes on to look for the server.
    HRESULT hr = S_OK;
    EXPECT_EQ(CreateRemoteAdder(&hr), nullptr);
    EXPECT_EQ(hr, c.refusal ? E_ACCESSDENIED : REGDB_E_CLASSNOTREG);
    if (c.refusal) ExpectRefusal(RuntimeEvent::kUnsafeRuntimeFolder, run, c.refusal);
    struct stat info {};
    if (!c.refusal) {
      ASSERT_EQ(stat(run.c_str(), &info), 0);
      EXPECT_EQ(info.st_mode & 07777, c.kind == Kind::kAbsent ? 0700u : c.mode);
    }

    Make(run, c.kind, c.mode, folder_ / "elsewhere");
    AdderServer server;
    EXPECT_EQ(server.result(), c.refusal ? E_ACCESSDENIED : S_OK);
    if (c.refusal) ExpectRefusal(RuntimeEvent::kUnsafeRuntimeFolder, run, c.refusal);
    if (!c.refusal) {
      ASSERT_EQ(stat(run.c_str(), &info), 0);
      EXPECT_EQ(info.st_mode & 07777, 0700u);  // the server's own mode
    }
  }
}

TEST_F(RuntimeFolderTest, AServerOfAnotherUserGetsNoByte) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to listen as another user";
  // In the user's own folder, a socket bound by root that user "nobody" listens on: the
  // kernel gives the client the listener's credentials. The impostor tells how many bytes
  // it received before the client went: '0' for none.
  Child impostor([this](Child& self) {
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, SocketPath().c_str());
    if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) return 1;
    if (!BecomeNobody()) return kCannotSwitchUser;
    if (listen(fd, 4) != 0) return 2;
    self.Send('l');
    const int client = accept(fd, nullptr, nullptr);
    if (client < 0) return 3;
    char bytes[256];
    int64_t got = 0, total = 0;
    while ((got = ReceiveSome(client, bytes, sizeof(bytes), 2000)) > 0) total += got;
    self.Send(total == 0 ? '0' : 'x');
    return 0;
  });
  if (impostor.Receive() != 'l') {
    const int code = impostor.Wait();
    if (code == kCannotSwitchUser) GTEST_SKIP() << "cannot act as another user here";
    FAIL() << "the impostor could not listen: " << code;
  }
  HRESULT hr = S_OK;
  EXPECT_EQ(CreateRemoteAdder(&hr), nullptr);
  EXPECT_EQ(hr, E_ACCESSDENIED);
  EXPECT_EQ(impostor.Receive(), '0');
  ExpectRefusal(RuntimeEvent::kUntrustedServer, SocketPath(), "usuário 65534");
  EXPECT_EQ(impostor.Wait(), 0);
}

}  // namespace
}  // namespace qx::test
