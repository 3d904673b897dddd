// Speed where users feel it, end to end through the server, next to SQLite
// in one run; every figure is the median of three runs:
//   extrato   qxcn extrato of one busy account over a year, against sqlite3
//             answering the same over the same rows by the fastest of the
//             queries a user of it would try (each of the account's two
//             indexes; one condition on both accounts, as SQLite plans it;
//             the whole table in key order), then the balance;
//   busca     qxcn busca --conta of that account over the year, against
//             sqlite3 the same way, and qxcn busca --contem over the year,
//             against sqlite3 with LIKE;
//   importa   100,000 lines with a complement, plain and with a 2-line split,
//             through qxcn importa (the batch interface) and qxcn importa
//             --sem-lote (the published interface alone), against SQLite
//             writing the same rows and change log, one transaction per entry;
//   frio      the first call of a client when no server runs (its start
//             included): creation, initialisation and one call.
// Two companies are written by the benchmark into a temporary default
// installation, with the server registered there: DEMO, 12 months x 100,000
// entries, and MEIO, 12 months x 20,000 (an office's busy year); in both the
// account of extrato and busca --conta is in about a quarter of the entries,
// and every entry has a complement.
//   usage: bench_escala [BUILD]   (BUILD: the build folder, by default the
//                                  one this program was built in)
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "contract/interface_ids.h"
#include "empresa_ano.h"
#include "espelho_sqlite.h"
#include "platform/localserver_lock.h"
#include "platform/runtime_folder.h"
#include "platform/unix_socket.h"
#include "reports/sessao.h"

namespace {

namespace fs = std::filesystem;
using Relogio = std::chrono::steady_clock;
using qx::bench::kAno;

constexpr int kLinhasImportacao = 100000;
constexpr int kRodadas = 3;  // as qx::bench::Mediana runs

std::string g_build;
std::string g_pasta;

std::string Programa(const std::string& nome) { return g_build + "/tools/" + nome + "/" + nome; }

// Runs a program with its standard output into `saida`; false when it fails.
bool Roda(const std::vector<std::string>& args, const std::string& saida = "/dev/null") {
  const pid_t filho = fork();
  if (filho == 0) {
    const int fd = open(saida.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(fd, 1);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(filho, &status, 0);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  std::fprintf(stderr, "falhou: %s\n", args[0].c_str());
  return false;
}

using qx::bench::Mediana;

size_t Linhas(const std::string& arquivo) {
  std::ifstream entrada(arquivo);
  return static_cast<size_t>(
      std::count(std::istreambuf_iterator<char>(entrada), std::istreambuf_iterator<char>(), '\n'));
}

void Compara(const char* nome, double nosso, double par, const char* quem, size_t linhas) {
  std::printf("%-34s %8.3f s  %-14s %8.3f s  razao %5.2f  (%zu linhas)\n", nome, nosso, quem, par,
              nosso / par, linhas);
  std::fflush(stdout);
}

// Day numbers of dates of the year, as the rows keep them.
uint32_t Dia(int dia, int mes) { return CQXData::Make(dia, mes, kAno).Value(); }

// A company of the benchmark and its rows in SQLite.
struct Empresa {
  std::string codigo;
  std::string banco;  // the SQLite file
  const char* nome;   // for the figures: "100.000/mes"
};

// qxcn with `argumentos` on the company next to sqlite3 answering the same
// over the same rows, each output written to a file as a terminal's would be.
// sqlite3 answers each of `consultas`, the ways a user of SQLite would try;
// its figure is the fastest one's, numbered after `quem` from 1.
void LadoALado(const Empresa& empresa, const char* nome, std::vector<std::string> argumentos,
               const std::vector<std::string>& consultas, const char* quem) {
  const std::string saida = g_pasta + "/" + empresa.codigo + "_" + argumentos[0];
  argumentos.insert(argumentos.begin(), Programa("qxcn"));
  argumentos.insert(argumentos.end(), {"--empresa", empresa.codigo});
  const double nosso = Mediana([&](int) { Roda(argumentos, saida); });
  double par = 0;
  size_t melhor = 0;
  for (size_t c = 0; c < consultas.size(); ++c) {
    const double tempo = Mediana([&](int) {
      Roda({"/usr/bin/sqlite3", "-separator", "  ", empresa.banco, consultas[c]},
           saida + "_sql.txt");
    });
    if (c == 0 || tempo < par) {
      par = tempo;
      melhor = c;
    }
  }
  const std::string peer =
      consultas.size() > 1 ? std::string(quem) + " (" + std::to_string(melhor + 1) + ")" : quem;
  Compara((std::string(nome) + " " + empresa.nome).c_str(), nosso, par, peer.c_str(),
          Linhas(saida + "_sql.txt"));
}

// The rows of the year in SQLite that qxcn shows (live, of branches 1 and 2):
// through the indexes SQLite chooses, or (naChave) reading the table in key
// order, the indexes kept out by '+'.
std::string DoAno(bool naChave = false) {
  const std::string meses = std::to_string(CQXMesAno::Make(1, kAno).Value()) + " AND " +
                            std::to_string(CQXMesAno::Make(12, kAno).Value());
  return std::string(" FROM lancamentos WHERE ") +
         (naChave ? "mes BETWEEN " + meses + " AND +" : "") + "data BETWEEN " +
         std::to_string(Dia(1, 1)) + " AND " + std::to_string(Dia(31, 12)) +
         " AND estado <> 1 AND filial IN (1, 2)";
}

// The account's rows of the year, each with the account's debit and credit
// and the other account, in the three ways SQLite may find them: through the
// debit index, then through the credit index those with another debit; by
// one condition on both accounts, as SQLite plans it; and reading the whole
// table in key order.
std::vector<std::string> DaConta() {
  const std::string colunas =
      "SELECT data, mes, posicao, documento, historico, debito, credito,"
      " CASE WHEN debito = 4 THEN credito ELSE debito END AS outra,"
      " (debito = 4) * valor AS debita, (credito = 4) * valor AS credita, filial, valor,"
      " complemento";
  return {
      "SELECT data, mes, posicao, documento, historico, debito, credito, credito AS outra,"
      " valor AS debita, (credito = 4) * valor AS credita, filial, valor, complemento" +
          DoAno() +
          " AND debito = 4 UNION ALL SELECT data, mes, posicao, documento, historico, debito,"
          " credito, debito, 0, valor, filial, valor, complemento" +
          DoAno() + " AND credito = 4 AND debito <> 4",
      colunas + DoAno() + " AND (debito = 4 OR credito = 4)",
      colunas + DoAno(true) + " AND (+debito = 4 OR +credito = 4)"};
}

// Each of `origens` ("FROM ...") in `consulta` where "@" stands.
std::vector<std::string> Consultas(const std::string& consulta,
                                   const std::vector<std::string>& origens) {
  std::vector<std::string> consultas;
  const size_t onde = consulta.find('@');
  for (const std::string& origem : origens) {
    consultas.push_back(consulta.substr(0, onde) + origem + consulta.substr(onde + 1));
  }
  return consultas;
}

// Each selection as the origin of a query: "FROM (...)".
std::vector<std::string> DeCada(const std::vector<std::string>& selecoes) {
  std::vector<std::string> origens;
  for (const std::string& s : selecoes) origens.push_back("FROM (" + s + ")");
  return origens;
}

void Extrato(const Empresa& empresa) {
  LadoALado(empresa, "extrato de um ano (conta 4)",
            {"extrato", "--conta", "4", "--de", "01/01/2024", "--ate", "31/12/2024"},
            Consultas("SELECT data, mes, posicao, documento, historico, outra,"
                      " printf('%.2f', debita / 10000.0), printf('%.2f', credita / 10000.0),"
                      " printf('%.2f', SUM(debita - credita) OVER (ORDER BY data, mes, posicao)"
                      " / 10000.0), complemento @ ORDER BY data, mes, posicao",
                      DeCada(DaConta())),
            "sqlite3");
}

// qxcn busca over the year with `filtro`, next to sqlite3 listing the rows
// that the fastest of `origens` ("FROM ...") gives.
void Busca(const Empresa& empresa, const char* nome, const std::vector<std::string>& filtro,
           const std::vector<std::string>& origens, const char* quem) {
  std::vector<std::string> argumentos = {"busca", "--de", "01/01/2024", "--ate", "31/12/2024"};
  argumentos.insert(argumentos.end(), filtro.begin(), filtro.end());
  LadoALado(empresa, nome, argumentos,
            Consultas("SELECT mes, posicao, data, documento, debito, credito,"
                      " printf('%.2f', valor / 10000.0), filial, historico, complemento @"
                      " ORDER BY mes, posicao",
                      origens),
            quem);
}

// An amount of `centavos` as the import file writes it: "1234,56".
std::string Montante(int centavos) {
  char texto[32];
  std::snprintf(texto, sizeof texto, "\"%d,%02d\"", centavos / 100, centavos % 100);
  return texto;
}

// The lines of an import into month `mes` of the next year: plain, or with
// a split of two lines that add up to the amount.
std::string ArquivoImportacao(int mes, bool rateio) {
  const std::string nome =
      g_pasta + "/importa_" + std::to_string(mes) + (rateio ? "_rateio" : "") + ".csv";
  std::ofstream csv(nome);
  for (int i = 0; i < kLinhasImportacao; ++i) {
    const int centavos = 10000 + i % 90000;
    csv << (1 + i % 28) << '/' << mes << '/' << kAno + 1 << ",4,11," << Montante(centavos)
        << ",1,Pagamento NF " << i << " Fornecedor " << i % 50;
    if (rateio)
      csv << ",2," << Montante(centavos / 2) << ",3," << Montante(centavos - centavos / 2);
    csv << '\n';
  }
  return nome;
}

void Importacao(bool rateio) {
  const int base = rateio ? 4 : 1;
  const auto importa = [&](int deslocamento, std::vector<std::string> extra) {
    std::vector<std::string> arquivos;
    for (int r = 0; r < kRodadas; ++r)
      arquivos.push_back(ArquivoImportacao(base + deslocamento + r, rateio));
    return Mediana([&](int r) {
      std::vector<std::string> args = {Programa("qxcn"), "importa", arquivos[r]};
      args.insert(args.end(), extra.begin(), extra.end());
      Roda(args);
    });
  };
  const double lote = importa(0, {});
  const double publicada = importa(6, {"--sem-lote"});
  const double par = Mediana([&](int r) {
    qx::bench::EspelhoSqlite db(g_pasta + "/importa_" + std::to_string(base + r) +
                                (rateio ? "_rateio" : "") + ".db");
    for (int i = 0; i < kLinhasImportacao; ++i) {
      const int centavos = 10000 + i % 90000;
      const int64_t valor = int64_t{centavos} * 100;
      std::vector<qx::bench::EspelhoSqlite::Linha> linhas;
      if (rateio) linhas = {{centavos / 2 * 100, 2}, {(centavos - centavos / 2) * 100, 3}};
      db.Grava(i, 4, 11, valor, Dia(1 + i % 28, 1),
               "Pagamento NF " + std::to_string(i) + " Fornecedor " + std::to_string(i % 50),
               linhas);
    }
  });
  const char* nome = rateio ? "importa 100.000 com rateio" : "importa 100.000 simples";
  const auto porSegundo = [](double s) { return kLinhasImportacao / s; };
  std::printf("%-34s lote %8.0f/s  publicada %8.0f/s  SQLite %8.0f/s  razao lote/SQLite %5.2f\n",
              nome, porSegundo(lote), porSegundo(publicada), porSegundo(par), par / lote);
  std::fflush(stdout);
}

// Waits until no server of the class runs (its lock is free, or there is no
// runtime folder yet).
void EsperaServidorTerminar() {
  if (!fs::exists(qx::RuntimeFolder())) return;
  const std::string trava = qx::ClassLockPath(qx::RuntimeFolder(), CLSID_QXCN_Lancamento);
  for (;;) {
    qx::ClassLock lock;
    if (lock.Acquire(trava)) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

void Frio() {
  const double tempo = Mediana(
      [](int) {
        qx::Identidade identidade;
        identidade.empresa = "DEMO";
        qx::SessaoLancamento sessao(identidade);
        int32_t lancamentos = 0, excluidos = 0, gerenciais = 0, importados = 0;
        sessao->PegaQuantidadeRegistros(CQXMesAno::Make(1, kAno).Value(), &lancamentos, &excluidos,
                                        &gerenciais, &importados);
      },
      EsperaServidorTerminar);
  std::printf("%-34s %8.1f ms\n", "primeira chamada (servidor frio)", tempo * 1000);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  g_build = argc > 1 ? argv[1] : fs::canonical("/proc/self/exe").parent_path().parent_path();
  char modelo[] = "/tmp/qx-bench-escala-XXXXXX";
  g_pasta = mkdtemp(modelo);
  setenv("QX_REGISTRY", (g_pasta + "/home/registry.reg").c_str(), 1);
  setenv("QX_REGISTRY_USER", (g_pasta + "/user.reg").c_str(), 1);
  setenv("QX_RUNTIME_DIR", (g_pasta + "/runtime").c_str(), 1);
  unsetenv("QX_HOME");
  unsetenv("QX_EMPRESA");
  // The companies' accounting period holds the year and the next one, where the imports go.
  const Empresa empresas[] = {{"DEMO", g_pasta + "/ano.db", "(100.000/mes)"},
                              {"MEIO", g_pasta + "/meio.db", "(20.000/mes)"}};
  const int32_t porMes[] = {qx::bench::kPorMes, 20000};
  if (!Roda({Programa("qxadmin"), "padrao", g_pasta + "/home"}) ||
      !Roda({Programa("qxadmin"), "empresa", "inclui", "MEIO", "--sample"}) ||
      !Roda({Programa("ostrel"), "-RegServer"})) {
    return 1;
  }
  for (int e = 0; e < 2; ++e) {
    const std::string& codigo = empresas[e].codigo;
    if (!Roda({Programa("qxadmin"), "config", "define", codigo, "period-start", "01/01/2024"}) ||
        !Roda({Programa("qxadmin"), "config", "define", codigo, "period-end", "31/12/2025"})) {
      return 1;
    }
    sqlite3* sql = nullptr;
    sqlite3_open(empresas[e].banco.c_str(), &sql);
    qx::bench::Ano ano{g_pasta + "/home/suite/Empresas/" + codigo + "/CN/", sql,
                       [](std::mt19937& aleatorio) {
                         constexpr int32_t kContas[] = {4, 5, 6, 11, 12, 21, 31, 32};
                         return kContas[aleatorio() % 8];
                       },
                       true, 0};
    ano.porMes = porMes[e];
    qx::bench::GeraAno(ano);
    sqlite3_close(sql);
    std::printf("%s: %d meses x %d lancamentos em %s\n", codigo.c_str(), qx::bench::kMeses,
                porMes[e], g_pasta.c_str());
  }
  std::fflush(stdout);

  Frio();
  for (const Empresa& empresa : empresas) {
    Extrato(empresa);
    Busca(empresa, "busca --conta 4 no ano", {"--conta", "4"}, DeCada(DaConta()), "sqlite3");
  }
  Busca(empresas[0], "busca --contem no ano", {"--contem", "fornecedor 17"},
        {DoAno() + " AND complemento LIKE '%fornecedor 17%'"}, "sqlite3 LIKE");
  Importacao(false);
  Importacao(true);

  EsperaServidorTerminar();
  std::error_code ignorado;
  fs::remove_all(g_pasta, ignorado);
  return 0;
}
