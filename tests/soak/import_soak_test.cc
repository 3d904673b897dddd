// Imports at once through qxcn while the driver stops one of them (SIGTERM), kills another
// (SIGKILL) and kills the server at random moments. Every import that got as far as saving
// said its batch and the command that undoes it first; no two share a batch; the folder is
// sound and agrees with the change log after every round; a batch (one call of the batch
// interface) is whole or absent; an import with --ao-erro para that failed has taken its
// own entries away; and each printed command removes its own import alone, until nothing
// imported is left. The seed is printed; QX_SOAK_SEED repeats a run.
#include <fcntl.h>

#include <cstdlib>
#include <random>
#include <set>

#include "soak_support.h"

namespace qx::soak {
namespace {

constexpr int kImports = 4;
constexpr int kRounds = kSanitized ? 2 : 3;
constexpr int kLines = 1500;
const char* const kQxcn = QX_TEST_BINARY_DIR "/tools/qxcn/qxcn";

// qxcn with the arguments, started with its output in <base>.out and <base>.err.
pid_t StartQxcn(const std::vector<std::string>& args, const std::string& base) {
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
int RunQxcn(const std::vector<std::string>& args, const std::string& base, std::string* out) {
  const int code = WaitChild(StartQxcn(args, base),
                             std::chrono::steady_clock::now() + std::chrono::seconds(120));
  *out = ReadFile(base + ".out");
  return code;
}

// The arguments of the undo command an import printed before its first save; empty when
// it printed none (it was stopped before it saved anything).
std::vector<std::string> UndoCommand(const std::string& err) {
  const std::string mark = "para desfazer: qxcn ";
  const size_t at = err.find(mark);
  if (at == std::string::npos) return {};
  std::istringstream words(err.substr(at + mark.size(), err.find('\n', at) - at - mark.size()));
  std::vector<std::string> args;
  for (std::string word; words >> word;) args.push_back(word);
  return args;
}

// The number after "field": in qxcn's --json output (-1 when absent).
long long JsonNumber(const std::string& json, const std::string& field) {
  const size_t at = json.find("\"" + field + "\": ");
  return at == std::string::npos ? -1 : std::atoll(json.c_str() + at + field.size() + 4);
}

TEST(CrashSoak, ImportsAtOnceKeepBatchesOfTheirOwnThroughKills) {
  ServerCompany pasta;
  const std::string raiz = pasta.company().root();
  const char* fixa = getenv("QX_SOAK_SEED");
  const uint32_t semente =
      fixa ? static_cast<uint32_t>(std::strtoul(fixa, nullptr, 10)) : std::random_device{}();
  printf("import soak seed %u (QX_SOAK_SEED=%u repeats it)\n", semente, semente);
  fflush(stdout);
  std::mt19937 rng(semente);
  std::set<std::string> lotes;
  // The layouts file exists first: creating it at once is a matter of its own.
  std::string formatos;
  ASSERT_EQ(RunQxcn({"formatos", "lista", "--empresa", "EMP1"}, raiz + "/formatos", &formatos), 0);
  for (int rodada = 0; rodada < kRounds; ++rodada) {
    SCOPED_TRACE(testing::Message() << "seed " << semente << ", round " << rodada);
    const std::string mes = rodada % 2 == 0 ? "05/2024" : "06/2024";
    std::vector<pid_t> importacoes;
    std::vector<std::string> bases;
    for (int i = 0; i < kImports; ++i) {
      bases.push_back(raiz + "/imp" + std::to_string(rodada) + "_" + std::to_string(i));
      {
        std::ofstream csv(bases.back() + ".csv");
        for (int linha = 1; linha <= kLines; ++linha) {
          csv << (linha % 28 + 1) << '/' << mes << ",4,11," << linha << ",1,i" << i << '_' << linha
              << '\n';
        }
      }
      importacoes.push_back(StartQxcn({"importa", bases.back() + ".csv", "--empresa", "EMP1",
                                       "--ao-erro", i % 2 == 0 ? "para" : "pula"},
                                      bases.back()));
    }
    // One stopped, one killed, then the server killed, each at a random moment.
    std::set<int> sinalizadas;
    for (const int sinal : {SIGTERM, SIGKILL, 0}) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100 + rng() % 500));
      if (sinal == 0) {
        pasta.KillServersOnce();
      } else {
        const int alvo = static_cast<int>(rng() % kImports);
        sinalizadas.insert(alvo);
        kill(importacoes[static_cast<size_t>(alvo)], sinal);
      }
    }
    std::vector<int> codigos;
    for (const pid_t pid : importacoes) {
      codigos.push_back(WaitChild(pid, std::chrono::steady_clock::now() + std::chrono::seconds(120)));
    }
    pasta.KillServers();

    const std::string saida = raiz + "/qxcheck.out";
    const std::string comando =
        QX_TEST_BINARY_DIR "/tools/qxcheck/qxcheck --empresa EMP1 >" + saida + " 2>&1";
    EXPECT_EQ(std::system(comando.c_str()), 0) << ReadFile(saida);

    // Each import undone by the command it printed, then nothing of it is found again.
    for (int i = 0; i < kImports; ++i) {
      const std::string& base = bases[static_cast<size_t>(i)];
      std::vector<std::string> desfazer = UndoCommand(ReadFile(base + ".err"));
      if (desfazer.empty()) continue;
      const std::string lote = desfazer[4];
      EXPECT_TRUE(lotes.insert(lote).second) << "batch " << lote << " handed out twice";
      desfazer.push_back("--json");
      std::string json;
      EXPECT_EQ(RunQxcn(desfazer, base + ".undo", &json), 0) << ReadFile(base + ".undo.err");
      const long long achados = JsonNumber(json, "encontrados");
      EXPECT_TRUE(achados == 0 || achados == kLines) << "batch " << lote << ": " << achados;
      if (i % 2 == 0 && codigos[static_cast<size_t>(i)] != 0 && !sinalizadas.contains(i)) {
        EXPECT_EQ(achados, 0) << "--ao-erro para left its entries: " << ReadFile(base + ".err");
      }
      EXPECT_EQ(RunQxcn(desfazer, base + ".again", &json), 0);
      EXPECT_EQ(JsonNumber(json, "encontrados"), 0) << json;
    }
    std::string contagem;
    ASSERT_EQ(
        RunQxcn({"mes", "--mes", mes, "--empresa", "EMP1", "--json"}, raiz + "/mes", &contagem), 0);
    EXPECT_EQ(JsonNumber(contagem, "lancamentos"), JsonNumber(contagem, "excluidos")) << contagem;
    printf("round %d: %s holds %lld imported entries, all undone\n", rodada, mes.c_str(),
           JsonNumber(contagem, "lancamentos"));
    fflush(stdout);
    pasta.KillServers();
    if (HasFailure()) break;
  }
  EXPECT_GE(lotes.size(), static_cast<size_t>(kRounds));
}

}  // namespace
}  // namespace qx::soak
