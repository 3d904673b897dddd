// An office: four workstations, each with its own registry store, installation,
// runtime folder and ostrel (workstations never share a server), on one company
// folder and one suite database, once in SQLite (the workstations on one machine)
// and once in PostgreSQL. Each saves, updates and removes entries of its own under
// a user and a session of its own; two of them import at once, the others print
// reports; the first workstation's server is killed when its import has written half
// its lines.
// Afterwards every acknowledged call reads back, no position was handed out twice,
// the months hold no entry twice, the audit trail holds one event per call with
// the user and the session of the workstation that made it, the two imports got
// batches of their own, each printed undo command removes exactly what the audit
// trail says its import left, and qxcheck finds no damage.
//
// ctest runs a small office; QX_SOAK_FULL=1 runs it at full size: 4 × 1,000 new
// entries besides the updates and removals, and two imports of 10,000 lines. The
// elapsed time and the saves per second are printed. QX_SOAK_SEED repeats a run.
#include <set>

#include "../entries/mes_gravado.h"
#include "../outside/outside_test_company.h"
#include "journal.h"
#include "outside/change_log/change_log_query.h"
#include "outside/database/sessions.h"

namespace qx::soak {
namespace {

using Backend = SuiteDatabase::Backend;

constexpr int kEstacoes = 4;
constexpr int kImportacoes = 2;  // by the first workstations
const char* const kMesesImportados[] = {"07/2024", "08/2024"};  // one per import
const bool kCompleto = getenv("QX_SOAK_FULL") != nullptr;
const int kNovas = kCompleto ? 1000 : kSanitized ? 40 : 120;  // new entries per workstation
const int kLinhas = kCompleto ? 10000 : 1000;                 // lines per import

// A workstation of the office: its folder (registry store, installation, runtime folder),
// its user and the session the company handed it out.
struct Estacao {
  std::string pasta;
  uint16_t usuario = 0;
  uint32_t sessao = 0;

  std::string Runtime() const { return pasta + "/run"; }
  _REG_DF_INICIALIZAPS Identidade() const {
    return RegistroInicializacaoCliente(
        {TestCompany::kCodigo, usuario, sessao, "ESTACAO", "soak", "office_soak_test.cc", 1});
  }
  // Runs f with this process pointed at the workstation: what f starts is of it.
  template <class F>
  auto Em(F f) const {
    const test::ScopedEnv maquina("QX_REGISTRY", pasta + "/machine.reg");
    const test::ScopedEnv usuario("QX_REGISTRY_USER", pasta + "/user.reg");
    const test::ScopedEnv runtime("QX_RUNTIME_DIR", Runtime());
    return f();
  }
};

// The workstations: each an installation of its own with the company registered as in
// the office's store, ostrel registered, a user of the company and a new session.
std::vector<Estacao> MontaEscritorio(const std::string& raiz) {
  const Registry escritorio = TestCompany::Store();
  const std::string chave = std::string(kCompaniesKey) + "\\" + TestCompany::kCodigo;
  std::vector<std::string> valores;
  EXPECT_EQ(escritorio.EnumValues(chave, &valores), ERROR_SUCCESS);
  const std::shared_ptr<SuiteDatabase> db = TestCompany::Database();
  std::vector<UsuarioCadastro> usuarios;
  EXPECT_EQ(ListaUsuarios(*db, &usuarios), S_OK);
  std::vector<Estacao> estacoes(kEstacoes);
  for (int i = 0; i < kEstacoes; ++i) {
    Estacao& e = estacoes[static_cast<size_t>(i)];
    e.pasta = raiz + "/estacao" + std::to_string(i);
    e.usuario = static_cast<uint16_t>(i + 1);
    const Registry propria(e.pasta + "/machine.reg", e.pasta + "/user.reg");
    std::string mensagem;
    EXPECT_EQ(CreateInstallation(propria, e.pasta + "/inst", &mensagem), S_OK) << mensagem;
    for (const std::string& nome : valores) {
      std::string valor;
      escritorio.GetString(chave, nome, &valor);
      EXPECT_EQ(propria.SetString(chave, nome, valor), ERROR_SUCCESS) << nome;
    }
    e.Em([] { test::RegisterOstrel(); });
    if (i > 0) {
      EXPECT_EQ(AdicionaUsuario(*db, {e.usuario, "Esta\xE7\xE3o", usuarios.at(0).filiaisAtivas}),
                S_OK);
    }
    EXPECT_EQ(NovaSessao(*db, e.usuario, "ESTACAO", &e.sessao), S_OK);
  }
  return estacoes;
}

// A month's live entries, as qxcn counts them.
long long Vivos(const std::string& mes, const std::string& base) {
  std::string json;
  EXPECT_EQ(RunQxcn({"mes", "--mes", mes, "--empresa", "EMP1", "--json"}, base, &json), 0);
  return JsonNumber(json, "lancamentos") - JsonNumber(json, "excluidos");
}

// Every event of the change log.
std::vector<EventoLog> Eventos() {
  const std::shared_ptr<SuiteDatabase> db = TestCompany::Database();
  std::vector<EventoLog> eventos;
  EXPECT_EQ(db->Read([&] { return ConsultaLog(*db).ListaEventos({}, &eventos); }), S_OK);
  return eventos;
}

// Undoes an import into the month (its files at base) by the command it printed, which must
// name a batch not in *lotes: it removes what the audit trail says the import left (saved
// less taken away by itself), the month loses as much and keeps nothing, and a second time
// finds nothing. Gives how many lines the import saved.
int Desfaz(const std::string& base, const std::string& mes, std::set<std::string>* lotes) {
  std::vector<std::string> desfazer = UndoCommand(ReadText(base + ".err"));
  if (desfazer.size() < 5) {
    ADD_FAILURE() << "no undo command: " << ReadText(base + ".err");
    return 0;
  }
  EXPECT_TRUE(lotes->insert(desfazer[4]).second) << "batch " << desfazer[4] << " twice";
  const uint32_t lote = static_cast<uint32_t>(std::stoul(desfazer[4]));
  int salvos = 0, removidos = 0;
  for (const EventoLog& evento : Eventos()) {
    if (evento.lote != lote) continue;
    salvos += evento.tipo == kEventoNovo ? 1 : 0;
    removidos += evento.tipo == kEventoExcluido ? 1 : 0;
  }
  const long long antes = Vivos(mes, base + ".mes");
  desfazer.push_back("--json");
  std::string json;
  EXPECT_EQ(RunQxcn(desfazer, base + ".undo", &json), 0) << ReadText(base + ".undo.err");
  const long long desfeitos = JsonNumber(json, "encontrados");
  EXPECT_EQ(desfeitos, salvos - removidos) << json;
  const long long depois = Vivos(mes, base + ".mes");
  EXPECT_EQ(antes - depois, desfeitos);
  EXPECT_EQ(depois, 0);
  EXPECT_EQ(RunQxcn(desfazer, base + ".again", &json), 0);
  EXPECT_EQ(JsonNumber(json, "encontrados"), 0) << json;
  printf("import of batch %s: %d lines saved, %d taken away by itself, %lld undone\n",
         desfazer[4].c_str(), salvos, removidos, desfeitos);
  return salvos;
}

using OfficeSoak = ::testing::TestWithParam<Backend>;

TEST_P(OfficeSoak, FourWorkstationsKeepEveryCallAndBatchApart) {
  std::string conexao;
  if (GetParam() == Backend::kPostgres) {
    if (test::PrivatePostgres::Get().folder().empty()) {
      GTEST_SKIP() << test::PrivatePostgres::Get().why();
    }
    conexao = test::PrivatePostgres::Get().NewSchema();
  }
  const uint32_t semente = Semente("office soak");
  std::mt19937 rng(semente);
  ServerCompany pasta(conexao);  // the office's own store: reads back and checks
  pasta.company().SetConfig("difference-per-branch", 1);
  const std::string raiz = pasta.company().root();
  const std::vector<Estacao> estacoes = MontaEscritorio(raiz);
  std::string saida;
  ASSERT_EQ(RunQxcn({"formatos", "lista", "--empresa", "EMP1"}, raiz + "/formatos", &saida), 0);

  const auto inicio = std::chrono::steady_clock::now();
  std::vector<pid_t> clientes, importacoes, relatorios;
  for (int i = 0; i < kEstacoes; ++i) {
    const Estacao& e = estacoes[static_cast<size_t>(i)];
    const uint32_t propria = rng();
    clientes.push_back(e.Em([&] {
      const pid_t filho = fork();
      if (filho == 0) {
        Cliente(i, i + 1, propria, raiz + "/acks." + std::to_string(i), e.Identidade(), kNovas);
      }
      return filho;
    }));
    const std::string base = raiz + "/estacao" + std::to_string(i);
    if (i < kImportacoes) {
      EscreveImportacao(base + ".csv", kLinhas, kMesesImportados[i], "e" + std::to_string(i));
      importacoes.push_back(
          e.Em([&] { return StartQxcn({"importa", base + ".csv", "--empresa", "EMP1"}, base); }));
    } else {
      relatorios.push_back(e.Em([&] {
        return StartQxcn({"balancete", "--de", "01/05/2024", "--ate", "30/06/2024", "--empresa",
                          "EMP1"},
                         base);
      }));
    }
  }
  // The first workstation's server killed once its import wrote half its lines.
  const std::string julho = MesGravado(pasta.company().CnFolder(), CQXMesAno::Make(7, 2024).Value())
                                .Nome(kPrefixoLancamentos);
  const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  const auto registros = [&] {
    std::error_code falta;  // not made yet
    const uintmax_t tamanho = std::filesystem::file_size(julho, falta);
    return falta ? 0 : tamanho / kEntryRecordSize;
  };
  while (registros() < kLinhas / 2u && std::chrono::steady_clock::now() < limite) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  siginfo_t terminou{};
  waitid(P_PID, static_cast<id_t>(importacoes[0]), &terminou, WEXITED | WNOHANG | WNOWAIT);
  const bool importando = terminou.si_pid == 0;
  const int mortos = KillServersOnce(estacoes[0].Runtime());
  EXPECT_EQ(mortos, 1);
  const auto fim = std::chrono::steady_clock::now() + std::chrono::seconds(kCompleto ? 1200 : 120);
  for (const pid_t pid : clientes) EXPECT_EQ(WaitChild(pid, fim), 0) << "a workstation failed";
  const double segundos =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
  std::vector<int> codigos;
  for (const pid_t pid : importacoes) codigos.push_back(WaitChild(pid, fim));
  EXPECT_EQ(codigos[1], 0) << ReadText(raiz + "/estacao1.err");
  for (const pid_t pid : relatorios) EXPECT_EQ(WaitChild(pid, fim), 0) << "a report failed";
  for (const Estacao& e : estacoes) KillServers(e.Runtime());

  Qxcheck(raiz + "/qxcheck.out");

  // Every acknowledged call reads back; no position was handed out twice.
  Esperado esperado;
  std::map<std::pair<uint16_t, int32_t>, const Estacao*> dono;
  size_t chamadas = 0;
  for (int i = 0; i < kEstacoes; ++i) {
    Esperado proprio;
    chamadas += LeAnotacoes(raiz + "/acks." + std::to_string(i), &proprio);
    for (const auto& [chave, estado] : proprio) dono[chave] = &estacoes[static_cast<size_t>(i)];
    LeAnotacoes(raiz + "/acks." + std::to_string(i), &esperado);
  }
  printf("office: %d x %d new entries, %zu acknowledged calls in %.1f s (%.0f calls/s, %.0f new "
         "entries/s), %d imports of %d lines; the server killed %s its import (which ended "
         "with %d)\n",
         kEstacoes, kNovas, chamadas, segundos, static_cast<double>(chamadas) / segundos,
         kEstacoes * kNovas / segundos, kImportacoes, kLinhas, importando ? "during" : "after",
         codigos[0]);
  fflush(stdout);
  for (const auto& [chave, estado] : esperado) {
    EXPECT_LE(estado.salvas, 1) << "month " << chave.first << " position " << chave.second;
  }
  EXPECT_EQ(ConfereEmFilho(esperado), 0) << "acknowledged entries that do not read back";

  // The months hold each acknowledged entry once: beside them only the entries whose
  // call was not acknowledged, at most one for the killed server.
  for (int m = 0; m < 2; ++m) {
    long long certos = 0, incertos = 0;
    for (const auto& [chave, estado] : esperado) {
      if (chave.first != kDias[m].MesAno().Value()) continue;
      incertos += estado.incerto ? 1 : 0;
      certos += !estado.incerto && !estado.excluido ? 1 : 0;
    }
    const std::string mes = m == 0 ? "05/2024" : "06/2024";
    const long long vivos = Vivos(mes, raiz + "/mes");
    EXPECT_GE(vivos, certos) << mes;
    EXPECT_LE(vivos, certos + incertos + mortos) << mes;
  }

  // One event per call, with the user and the session of the workstation that made it.
  const std::vector<EventoLog> eventos = Eventos();
  std::map<std::pair<uint16_t, int32_t>, std::string> tipos;
  for (const EventoLog& evento : eventos) {
    if (evento.lote != 0) continue;
    const auto chave = std::make_pair(evento.mes, evento.posicao);
    tipos[chave] += evento.tipo;
    const Estacao* estacao = dono.contains(chave) ? dono[chave] : nullptr;
    if (estacao == nullptr) continue;
    EXPECT_EQ(evento.sessao, estacao->sessao) << chave.first << " " << chave.second;
    EXPECT_EQ(evento.usuario.value_or(0), estacao->usuario) << chave.first << " " << chave.second;
  }
  int semAnotacao = 0;
  for (const auto& [chave, texto] : tipos) {
    const auto anotado = esperado.find(chave);
    if (anotado == esperado.end()) {
      ++semAnotacao;
      continue;
    }
    const Estado& estado = anotado->second;
    if (estado.incerto) continue;
    const std::string previsto = "I" + std::string(static_cast<size_t>(estado.alteracoes), 'A') +
                                 (estado.excluido ? "E" : "");
    EXPECT_EQ(texto, previsto) << "month " << chave.first << " position " << chave.second;
  }
  EXPECT_LE(semAnotacao, mortos) << "saves in the audit trail that nobody acknowledged";

  // Each import's batch is its own; its undo command removes what the audit trail says
  // it left, and nothing else.
  std::set<std::string> lotes;
  for (int i = 0; i < kImportacoes; ++i) {
    const int salvos = Desfaz(raiz + "/estacao" + std::to_string(i), kMesesImportados[i], &lotes);
    if (i == 1) {
      EXPECT_EQ(salvos, kLinhas);
    }
  }
}

// PostgreSQL gone in the middle of an import: the import stops with the code that says so,
// and once the database is back the books and the audit trail agree.
TEST(DatabaseGone, ImportStopsClearlyAndTheBooksAgreeOnceItIsBack) {
  test::PrivatePostgres& cluster = test::PrivatePostgres::Get();
  if (cluster.folder().empty()) GTEST_SKIP() << cluster.why();
  const std::string conexao = cluster.NewDatabase();
  ServerCompany pasta(conexao);
  const std::string raiz = pasta.company().root();
  std::string saida;
  ASSERT_EQ(RunQxcn({"formatos", "lista", "--empresa", "EMP1"}, raiz + "/formatos", &saida), 0);
  // Long enough that the import is still running when the database goes.
  EscreveImportacao(raiz + "/imp.csv", 16 * 2048, kMesesImportados[0], "g");
  // Gone once the import's first call of the batch interface (2,048 lines) is stored.
  const std::string contagem = "SELECT count(*) FROM log_alteracoes";
  const std::string antes = cluster.Run(contagem, conexao);
  const pid_t importacao =
      StartQxcn({"importa", raiz + "/imp.csv", "--empresa", "EMP1"}, raiz + "/imp");
  const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (cluster.Run(contagem, conexao) == antes && std::chrono::steady_clock::now() < limite) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  cluster.SetReachable(conexao, false);
  EXPECT_EQ(WaitChild(importacao, std::chrono::steady_clock::now() + std::chrono::seconds(60)), 1);
  EXPECT_NE(ReadText(raiz + "/imp.err").find("E_QXDF_BANCO_INDISPONIVEL"), std::string::npos)
      << ReadText(raiz + "/imp.err");
  cluster.SetReachable(conexao, true);
  pasta.KillServers();
  Qxcheck(raiz + "/qxcheck.out");
  // What it saved before stays until its undo command runs: it never says otherwise.
  const std::string erro = ReadText(raiz + "/imp.err");
  std::set<std::string> lotes;
  if (Desfaz(raiz + "/imp", kMesesImportados[0], &lotes) > 0) {
    EXPECT_NE(erro.find("n\xC3\xA3o importe de novo"), std::string::npos) << erro;
  }
}

QX_ON_BOTH_BACKENDS(OfficeSoak);

}  // namespace
}  // namespace qx::soak
