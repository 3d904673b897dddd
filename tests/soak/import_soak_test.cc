// Imports at once through qxcn while the driver stops one of them (SIGTERM), kills another
// (SIGKILL) and kills the server at random moments. Every import that got as far as saving
// said its batch and the command that undoes it first; no two share a batch; the folder is
// sound and agrees with the change log after every round; a batch (one call of the batch
// interface) is whole or absent; an import with --ao-erro para that failed has taken its
// own entries away; and each printed command removes its own import alone, until nothing
// imported is left. The seed is printed; QX_SOAK_SEED repeats a run.
#include <algorithm>
#include <cstdlib>
#include <set>

#include "soak_support.h"

namespace qx::soak {
namespace {

constexpr int kImports = 4;
constexpr int kRounds = kSanitized ? 2 : 3;
constexpr int kLines = 1500;

TEST(CrashSoak, ImportsAtOnceKeepBatchesOfTheirOwnThroughKills) {
  ServerCompany pasta;
  const std::string raiz = pasta.company().root();
  const uint32_t semente = Semente("import soak");
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
      EscreveImportacao(bases.back() + ".csv", kLines, mes, "i" + std::to_string(i));
      importacoes.push_back(StartQxcn({"importa", bases.back() + ".csv", "--empresa", "EMP1",
                                       "--ao-erro", i % 2 == 0 ? "para" : "pula"},
                                      bases.back()));
    }
    // One stopped, one killed, then the server killed, each at a random moment.
    std::set<int> sinalizadas;
    for (const int sinal : {SIGTERM, SIGKILL, 0}) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100 + rng() % 500));
      if (sinal == 0) {
        // On a loaded machine the imports may not have reached the server yet: the server dies
        // once one of them holds its batch, so that every round hands one out.
        Espera(
            [&] {
              return std::any_of(bases.begin(), bases.end(), [](const std::string& base) {
                return !UndoCommand(ReadText(base + ".err")).empty();
              });
            },
            30);
        pasta.KillServersOnce();
      } else {
        const int alvo = static_cast<int>(rng() % kImports);
        sinalizadas.insert(alvo);
        kill(importacoes[static_cast<size_t>(alvo)], sinal);
      }
    }
    std::vector<int> codigos;
    for (const pid_t pid : importacoes) {
      codigos.push_back(
          WaitChild(pid, std::chrono::steady_clock::now() + std::chrono::seconds(120)));
    }
    pasta.KillServers();

    Qxcheck(raiz + "/qxcheck.out");

    // Each import undone by the command it printed, then nothing of it is found again.
    for (int i = 0; i < kImports; ++i) {
      const std::string& base = bases[static_cast<size_t>(i)];
      std::vector<std::string> desfazer = UndoCommand(ReadText(base + ".err"));
      if (desfazer.empty()) continue;
      const std::string lote = desfazer[4];
      EXPECT_TRUE(lotes.insert(lote).second) << "batch " << lote << " handed out twice";
      desfazer.push_back("--json");
      std::string json;
      EXPECT_EQ(RunQxcn(desfazer, base + ".undo", &json), 0) << ReadText(base + ".undo.err");
      const long long achados = JsonNumber(json, "encontrados");
      EXPECT_TRUE(achados == 0 || achados == kLines) << "batch " << lote << ": " << achados;
      if (i % 2 == 0 && codigos[static_cast<size_t>(i)] != 0 && !sinalizadas.contains(i)) {
        EXPECT_EQ(achados, 0) << "--ao-erro para left its entries: " << ReadText(base + ".err");
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
