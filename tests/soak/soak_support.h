// What the multi-process tests of the server share: a temporary company with
// ostrel registered in its registry store and a runtime folder of its own,
// client objects that reconnect, the server processes of that runtime folder
// (found through /proc) and bounded waits for children.
#pragma once

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "../entries/test_company.h"
#include "../platform/ostrel_program.h"
#include "platform/bstr.h"
#include "qxcom/qxcom.h"
#include "values/qx_data.h"

namespace qx::soak {

using test::ReadText;

// The live ostrel processes serving a runtime folder.
inline std::vector<pid_t> ServersOf(const std::string& runtime) {
  std::vector<pid_t> pids;
  std::string marker = "QX_RUNTIME_DIR=";
  marker.append(runtime).append(1, '\0');
  DIR* proc = opendir("/proc");
  if (proc == nullptr) return pids;
  while (const dirent* entry = readdir(proc)) {
    const pid_t pid = static_cast<pid_t>(std::atoi(entry->d_name));
    if (pid <= 0) continue;
    const std::string base = std::string("/proc/") + entry->d_name;
    if (ReadText(base + "/comm") != "ostrel\n") continue;
    const std::string stat = ReadText(base + "/stat");
    const size_t close = stat.rfind(')');
    if (close == std::string::npos || stat.compare(close + 2, 1, "Z") == 0) continue;
    if ((ReadText(base + "/environ") + '\0').find(marker) == std::string::npos) continue;
    pids.push_back(pid);
  }
  closedir(proc);
  return pids;
}

// Sends SIGKILL to every server of the folder; gives how many there were.
inline int KillServersOnce(const std::string& runtime) {
  const std::vector<pid_t> pids = ServersOf(runtime);
  for (const pid_t pid : pids) kill(pid, SIGKILL);
  return static_cast<int>(pids.size());
}

// Kills every server of the folder and waits until none is left (bounded).
inline void KillServers(const std::string& runtime) {
  for (int attempt = 0; attempt < 250; ++attempt) {
    if (KillServersOnce(runtime) == 0) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ADD_FAILURE() << "a server outlived SIGKILL";
}

// The company, with the server registered and its sockets in a folder of this test (its
// suite data in the PostgreSQL database a connection value names, when given).
class ServerCompany {
 public:
  explicit ServerCompany(const std::string& postgres = "") : company_(false, postgres) {
    test::RegisterOstrel(runtime_);
  }
  ~ServerCompany() {
    KillServers();
    unsetenv("QX_RUNTIME_DIR");
  }

  const TestCompany& company() const { return company_; }

  std::vector<pid_t> Servers() const { return ServersOf(runtime_); }
  int KillServersOnce() const { return soak::KillServersOnce(runtime_); }
  void KillServers() const { soak::KillServers(runtime_); }

 private:
  TestCompany company_;
  std::string runtime_ = company_.root() + "/run";
};

struct ReleaseService {
  void operator()(IQXCN_Lancamento* s) const { s->Release(); }
};
using Service = std::unique_ptr<IQXCN_Lancamento, ReleaseService>;

// A new initialised object through the server (started on demand); null when none answers.
inline Service Connect(const _REG_DF_INICIALIZAPS& identity = RegistroInicializacao()) {
  IQXCN_Lancamento* raw = nullptr;
  if (CriaServicoLancamento(&raw) != S_OK || raw == nullptr) return nullptr;
  Service s(raw);
  if (s->Inicializa_Padrao(identity) != S_OK) return nullptr;
  return s;
}

// Polls every 50 ms until `condicao` holds or `segundos` have passed.
template <typename Condicao>
void Espera(Condicao condicao, int segundos) {
  const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(segundos);
  while (!condicao() && std::chrono::steady_clock::now() < limite) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

// Connect, tried until it works or the deadline passes.
inline Service ConnectUntil(std::chrono::steady_clock::time_point deadline) {
  while (std::chrono::steady_clock::now() < deadline) {
    if (Service s = Connect()) return s;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return nullptr;
}

// Sets the current entry and saves it at *indlan (0: a new entry).
inline HRESULT Salva(IQXCN_Lancamento* s, uint16_t filial, CQXData dia, int64_t valor,
                     const std::string& texto, int32_t* indlan) {
  s->SetFilial(filial);
  s->SetData(dia.Value());
  s->SetDebito(valor % 3 == 0 ? 0 : 4);
  s->SetCredito(11);
  s->SetValor(CURRENCY{valor});
  s->SetDocumento(static_cast<int32_t>(valor % 100000));
  s->SetHistorico(1);
  UniqueBstr bstr(BstrFromCp1252(texto));
  s->SetComplemento(bstr.get());
  return s->Grava(indlan);
}

using test::WaitChild;

// A value of /proc/<pid>/status in kB ("VmRSS", "VmHWM"); 0 when unknown.
inline int64_t StatusKb(pid_t pid, const std::string& field) {
  std::string path = "/proc/";
  path.append(std::to_string(pid)).append("/status");
  std::istringstream lines(ReadText(path));
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(field + ":", 0) == 0) return std::atoll(line.c_str() + field.size() + 1);
  }
  return 0;
}

// qxcheck on the company, its report in the file `saida`: the report, and a failure of the
// test when it found damage.
inline std::string Qxcheck(const std::string& saida) {
  const std::string comando =
      QX_TEST_BINARY_DIR "/tools/qxcheck/qxcheck --empresa EMP1 >" + saida + " 2>&1";
  const int codigo = std::system(comando.c_str());
  std::string relatorio = ReadText(saida);
  EXPECT_EQ(codigo, 0) << relatorio;
  return relatorio;
}

// The seed of a run: QX_SOAK_SEED, or a new one; printed, so that a run can be repeated.
inline uint32_t Semente(const char* soak) {
  const char* fixa = getenv("QX_SOAK_SEED");
  const uint32_t semente =
      fixa ? static_cast<uint32_t>(std::strtoul(fixa, nullptr, 10)) : std::random_device{}();
  printf("%s seed %u (QX_SOAK_SEED=%u repeats it)\n", soak, semente, semente);
  fflush(stdout);  // before the children inherit the buffer
  return semente;
}

inline const char* const kQxcn = QX_TEST_BINARY_DIR "/tools/qxcn/qxcn";

// qxcn with the arguments, started with its output in <base>.out and <base>.err.
inline pid_t StartQxcn(const std::vector<std::string>& args, const std::string& base) {
  const pid_t child = fork();
  if (child != 0) return child;
  const int out = open((base + ".out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  const int err = open((base + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0) _exit(120);
  std::vector<char*> argv = {const_cast<char*>(kQxcn)};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  execv(kQxcn, argv.data());
  _exit(121);
}

// Runs qxcn to its end: its exit code, and its standard output in *out.
inline int RunQxcn(const std::vector<std::string>& args, const std::string& base, std::string* out) {
  const int code = WaitChild(StartQxcn(args, base),
                             std::chrono::steady_clock::now() + std::chrono::seconds(120));
  *out = ReadText(base + ".out");
  return code;
}

// An import file of `linhas` lines in the month ("MM/AAAA"), its texts marked.
inline void EscreveImportacao(const std::string& path, int linhas, const std::string& mes,
                              const std::string& marca) {
  std::ofstream csv(path);
  for (int linha = 1; linha <= linhas; ++linha) {
    csv << (linha % 28 + 1) << '/' << mes << ",4,11," << linha << ",1," << marca << '_' << linha
        << '\n';
  }
}

// The arguments of the undo command an import printed before its first save; empty when
// it printed none (it was stopped before it saved anything).
inline std::vector<std::string> UndoCommand(const std::string& err) {
  const std::string mark = "para desfazer: qxcn ";
  const size_t at = err.find(mark);
  if (at == std::string::npos) return {};
  std::istringstream words(err.substr(at + mark.size(), err.find('\n', at) - at - mark.size()));
  std::vector<std::string> args;
  for (std::string word; words >> word;) args.push_back(word);
  return args;
}

// The number after "field": in qxcn's --json output (-1 when absent).
inline long long JsonNumber(const std::string& json, const std::string& field) {
  const size_t at = json.find("\"" + field + "\": ");
  return at == std::string::npos ? -1 : std::atoll(json.c_str() + at + field.size() + 4);
}

inline constexpr bool kSanitized = test::kAddressSanitizer;

}  // namespace qx::soak
