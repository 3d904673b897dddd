// Speed of the accountant's reports, end to end through an ostrel server the
// runtime starts, as qxcn runs them: the trial balance of a year, the balance
// sheet and the income statement of the year (with the chart's default
// natures: group 1 assets, 2 liabilities, 3 revenues, 4 expenses), the
// statement of one busy account over the year and the cost-centre report, each
// next to SQLite answering the same question over the same rows (an indexed
// table and the equivalent GROUP BY / WHERE, the rows already loaded). A
// company of 12 months x 100,000 entries, a chart of 200 accounts, a third of
// the entries with a 2-line split. Each figure is the median of three runs;
// SQLite's is the faster of its own plan and a scan of the table. The trial
// balance of 1, 6 and 12 months shows whether the time is linear in the
// entries read (ns_por_lanc stays). Target: each report within 2x of SQLite,
// the statements within the trial balance's own ratio.
// The bookkeeping file (ECD) of the year from the books, next to SQLite
// listing the same entries and summing the same months (target: the whole
// file under a minute).
// Beside them, one page of 100 entries of a 100,000-entry month as qxweb
// reads it (by position, the rest of the month left unread), first and last.
#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "empresa_ano.h"
#include "reports/balancete.h"
#include "reports/centros.h"
#include "reports/demonstracoes.h"
#include "reports/ecd/escreve.h"
#include "reports/extrato.h"
#include "reports/livro_ecd.h"
#include "reports/pagina_mes.h"
#include "storage/folders/folders.h"

namespace {

using qx::bench::kAno;
using qx::bench::kMeses;
using qx::bench::kPorMes;
constexpr char kEmpresa[] = "BENCH";
constexpr int32_t kContaMovimentada = 1001;  // in about one entry in ten
constexpr int kAnaliticas = 180;             // 1001..1180, under 20 total accounts
constexpr int kCentros = 10;                 // managerial accounts 2..11

CQXData Dia(int dia, int mes) { return CQXData::Make(dia, mes, kAno); }

[[noreturn]] void Falha(const std::string& o_que) {
  std::fprintf(stderr, "bench_reports: %s\n", o_que.c_str());
  std::exit(1);
}

// The chart: 4 groups of 5 total accounts each ("1", "1.1" .. "1.4"), the
// analytic accounts under the second level, and the cost centres.
qx::CompanySeed Empresa() {
  qx::CompanySeed seed = qx::SampleCompany(kEmpresa, kAno);
  seed.contas.clear();
  for (int g = 1; g <= 4; ++g) {
    seed.contas.push_back({'C', g, 0, std::to_string(g), "Grupo " + std::to_string(g), 'T'});
    for (int s = 1; s <= 4; ++s) {
      seed.contas.push_back(
          {'C', g * 10 + s, g, std::to_string(g) + "." + std::to_string(s), "Subgrupo", 'T'});
    }
  }
  for (int i = 0; i < kAnaliticas; ++i) {
    const int g = 1 + i % 4, s = 1 + (i / 4) % 4;
    char classificacao[32];
    std::snprintf(classificacao, sizeof classificacao, "%d.%d.%03d", g, s, i);
    seed.contas.push_back({'C', 1001 + i, g * 10 + s, classificacao, "Conta", 'A'});
  }
  seed.contas.push_back({'G', 1, 0, "1", "Centros", 'T'});
  for (int c = 0; c < kCentros; ++c) {
    seed.contas.push_back({'G', 2 + c, 1, "1." + std::to_string(c + 10), "Centro", 'A'});
  }
  return seed;
}

class Dados {
 public:
  Dados() {
    pasta_ = qx::bench::InstalaEmpresa("reports", Empresa());
    if (std::system(QX_BINARY_DIR "/tools/ostrel/ostrel -RegServer") != 0) Falha("-RegServer");
    sqlite3_open((pasta_ + "/bench.db").c_str(), &sql_);
    qx::bench::GeraAno({qx::CompanyFolder(qx::kModuloContabilidade, kEmpresa), sql_,
                        [](std::mt19937& aleatorio) {
                          return aleatorio() % 10 == 0
                                     ? kContaMovimentada
                                     : 1001 + static_cast<int32_t>(aleatorio() % kAnaliticas);
                        },
                        false, kCentros});
  }
  ~Dados() {
    sqlite3_close(sql_);
    std::error_code ignorado;
    std::filesystem::remove_all(pasta_, ignorado);
  }

  sqlite3* Sql() { return sql_; }
  int64_t Lancamentos(int meses) const { return int64_t{meses} * kPorMes; }

 private:
  std::string pasta_;
  sqlite3* sql_ = nullptr;
};

// The median of three runs, in milliseconds.
double Mediana(const std::function<void()>& corrida) {
  return 1000 * qx::bench::Mediana([&](int) { corrida(); });
}

// Runs a query to its end once; its rows are summed so nothing is left out.
// "{d}" in its text is left out, or, with `varredura`, made "+" so that SQLite
// does not take the date index: over most of the table a scan is faster.
int64_t Consulta(sqlite3* sql, std::string texto, bool varredura,
                 const std::vector<int64_t>& parametros) {
  for (size_t d; (d = texto.find("{d}")) != std::string::npos;) {
    texto.replace(d, 3, varredura ? "+" : "");
  }
  sqlite3_stmt* consulta = nullptr;
  if (sqlite3_prepare_v2(sql, texto.c_str(), -1, &consulta, nullptr) != SQLITE_OK) Falha(texto);
  for (size_t i = 0; i < parametros.size(); ++i) {
    sqlite3_bind_int64(consulta, static_cast<int>(i + 1), parametros[i]);
  }
  int64_t soma = 0;
  while (sqlite3_step(consulta) == SQLITE_ROW) {
    for (int c = 0; c < sqlite3_column_count(consulta); ++c) {
      soma += sqlite3_column_int64(consulta, c);
    }
  }
  sqlite3_finalize(consulta);
  return soma;
}

// Per account: the balance before the period and the debits and credits of it.
constexpr char kSqlBalancete[] =
    "SELECT conta, SUM(anterior), SUM(debito), SUM(credito) FROM ("
    " SELECT debito AS conta, CASE WHEN data < ?2 THEN valor ELSE 0 END AS anterior,"
    "  CASE WHEN data >= ?2 THEN valor ELSE 0 END AS debito, 0 AS credito FROM lancamentos"
    "  WHERE {d}data BETWEEN ?1 AND ?3 AND estado <> 1 AND filial IN (1, 2)"
    " UNION ALL"
    " SELECT credito, CASE WHEN data < ?2 THEN -valor ELSE 0 END, 0,"
    "  CASE WHEN data >= ?2 THEN valor ELSE 0 END FROM lancamentos"
    "  WHERE {d}data BETWEEN ?1 AND ?3 AND estado <> 1 AND filial IN (1, 2))"
    " GROUP BY conta";

// The account's balance before the period, then its entries in date order.
constexpr char kSqlAnterior[] =
    "SELECT SUM(CASE WHEN debito = ?1 THEN valor ELSE 0 END -"
    " CASE WHEN credito = ?1 THEN valor ELSE 0 END) FROM lancamentos"
    " WHERE (debito = ?1 OR credito = ?1) AND {d}data BETWEEN ?2 AND ?3 AND estado <> 1"
    " AND filial IN (1, 2)";
constexpr char kSqlExtrato[] =
    "SELECT data, mes, posicao, documento, historico, debito, credito, valor,"
    " length(complemento) FROM lancamentos"
    " WHERE (debito = ?1 OR credito = ?1) AND {d}data BETWEEN ?2 AND ?3 AND estado <> 1"
    " AND filial IN (1, 2) ORDER BY data, mes, posicao";

// Per account: the balance at the end of the period (the balance sheet's
// figures, which the chart's natures then group), and the movement of each
// month (the income statement's by month).
constexpr char kSqlSaldos[] =
    "SELECT conta, SUM(valor) FROM ("
    " SELECT debito AS conta, valor FROM lancamentos"
    "  WHERE {d}data BETWEEN ?1 AND ?2 AND estado <> 1 AND filial IN (1, 2)"
    " UNION ALL"
    " SELECT credito, -valor FROM lancamentos"
    "  WHERE {d}data BETWEEN ?1 AND ?2 AND estado <> 1 AND filial IN (1, 2))"
    " GROUP BY conta";
constexpr char kSqlMovimentoPorMes[] =
    "SELECT conta, mes, SUM(valor) FROM ("
    " SELECT debito AS conta, mes, valor FROM lancamentos"
    "  WHERE {d}data BETWEEN ?1 AND ?2 AND estado <> 1 AND filial IN (1, 2)"
    " UNION ALL"
    " SELECT credito, mes, -valor FROM lancamentos"
    "  WHERE {d}data BETWEEN ?1 AND ?2 AND estado <> 1 AND filial IN (1, 2))"
    " GROUP BY conta, mes";

constexpr char kSqlCentros[] =
    "SELECT r.centro, r.conta, SUM(r.valor), SUM(r.quantidade) FROM rateio r"
    " JOIN lancamentos l ON l.mes = r.mes AND l.posicao = r.posicao"
    " WHERE {d}l.data BETWEEN ?1 AND ?2 AND l.estado <> 1 AND l.filial IN (1, 2)"
    " GROUP BY r.centro, r.conta";

// Every entry of the period in the books' order, as the bookkeeping file
// lists them.
constexpr char kSqlLancamentos[] =
    "SELECT data, mes, posicao, documento, historico, debito, credito, valor,"
    " length(complemento) FROM lancamentos"
    " WHERE {d}data BETWEEN ?1 AND ?2 AND estado <> 1 ORDER BY mes, posicao";

// A page of a month by position, as qxweb lists a month.
constexpr char kSqlPagina[] =
    "SELECT posicao, data, documento, debito, credito, valor, length(complemento)"
    " FROM lancamentos WHERE mes = ?1 AND posicao BETWEEN ?2 AND ?3";
constexpr int32_t kPagina = 100;

struct Figura {
  std::string relatorio;
  int64_t lancamentos;  // entries of the months read
  double ostrel;
  double sqlite;  // the faster of SQLite's two plans
};

// SQLite's answer with the plan it picks and with a scan; the faster one.
double MelhorPlano(const std::function<void(bool varredura)>& consulta) {
  return std::min(Mediana([&] { consulta(false); }), Mediana([&] { consulta(true); }));
}

}  // namespace

int main() {
  std::fprintf(stderr, "bench_reports: writing %d months of %d entries...\n", kMeses, kPorMes);
  Dados dados;
  qx::SessaoLancamento servico(qx::Identidade{kEmpresa, "bench", 1, 4096});
  const qx::Periodo ano{Dia(1, 1), Dia(1, 1), Dia(31, 12), 0};

  std::vector<Figura> figuras;
  // The trial balance of 1, 6 and 12 months: the time per entry read stays.
  for (const int meses : {1, 6, kMeses}) {
    const qx::Periodo periodo{Dia(1, 1), Dia(1, 1),
                              CQXData::FromMesAno(CQXMesAno::Make(meses, kAno), 31), 0};
    figuras.push_back(
        {"balancete de " + std::to_string(meses) + (meses == 1 ? " mes" : " meses"),
         dados.Lancamentos(meses), Mediana([&] {
           qx::MontaBalancete(servico, qx::LePlano(servico, 'C'), {periodo, 0, false, false});
         }),
         MelhorPlano([&](bool varredura) {
           Consulta(dados.Sql(), kSqlBalancete, varredura,
                    {periodo.desde.Value(), periodo.de.Value(), periodo.ate.Value()});
         })});
  }
  // The statements of the year, beside the trial balance of 12 months above.
  figuras.push_back(
      {"balanco em 31/12", dados.Lancamentos(kMeses), Mediana([&] {
         qx::MontaBalanco(servico, qx::LePlano(servico, 'C'), {{{ano.desde, ano.ate}}, 0, 0});
       }),
       MelhorPlano([&](bool varredura) {
         Consulta(dados.Sql(), kSqlSaldos, varredura, {ano.desde.Value(), ano.ate.Value()});
       })});
  for (const bool porMes : {false, true}) {
    figuras.push_back(
        {porMes ? "dre do ano por mes" : "dre do ano", dados.Lancamentos(kMeses), Mediana([&] {
           qx::MontaDre(servico, qx::LePlano(servico, 'C'), {ano.de, ano.ate, 0, 0, porMes});
         }),
         MelhorPlano([&](bool varredura) {
           Consulta(dados.Sql(), porMes ? kSqlMovimentoPorMes : kSqlSaldos, varredura,
                    {ano.de.Value(), ano.ate.Value()});
         })});
  }
  figuras.push_back({"extrato da conta movimentada", dados.Lancamentos(kMeses), Mediana([&] {
                       qx::MontaExtrato(servico, qx::LePlano(servico, 'C'), kContaMovimentada, ano);
                     }),
                     MelhorPlano([&](bool varredura) {
                       Consulta(dados.Sql(), kSqlAnterior, varredura,
                                {kContaMovimentada, ano.desde.Value(), ano.de.Value() - 1});
                       Consulta(dados.Sql(), kSqlExtrato, varredura,
                                {kContaMovimentada, ano.de.Value(), ano.ate.Value()});
                     })});
  figuras.push_back(
      {"centros de custo do ano", dados.Lancamentos(kMeses), Mediana([&] {
         qx::MontaCentros(servico, qx::LePlano(servico, 'C'), qx::LePlano(servico, 'G'),
                          {ano.de, ano.ate, 0, 0});
       }),
       MelhorPlano([&](bool varredura) {
         Consulta(dados.Sql(), kSqlCentros, varredura, {ano.de.Value(), ano.ate.Value()});
       })});

  // The bookkeeping file of the year, written to nowhere: the books are read
  // three times (the balances, then the writer's two walks). SQLite answers
  // the months' movements and lists every entry once.
  figuras.push_back(
      {"ecd do ano", dados.Lancamentos(kMeses), Mediana([&] {
         std::ofstream nada("/dev/null");
         qx::ecd::EscreveEcd(qx::MontaLivroEcd(servico, kAno), nada);
       }),
       MelhorPlano([&](bool varredura) {
         Consulta(dados.Sql(), kSqlMovimentoPorMes, varredura, {ano.de.Value(), ano.ate.Value()});
         Consulta(dados.Sql(), kSqlLancamentos, varredura, {ano.de.Value(), ano.ate.Value()});
       })});

  const CQXMesAno junho = CQXMesAno::Make(6, kAno);
  for (const int32_t inicio : {1, kPorMes - kPagina + 1}) {
    figuras.push_back(
        {"pagina do mes na posicao " + std::to_string(inicio), kPagina,
         Mediana([&] { qx::LePaginaDoMes(servico, junho, inicio, kPagina); }), Mediana([&] {
           Consulta(dados.Sql(), kSqlPagina, false,
                    {junho.Value(), inicio, inicio + kPagina - 1});
         })});
  }

  std::printf("%-30s %12s %12s %12s %8s %14s\n", "relatorio", "lancamentos", "ostrel_ms",
              "sqlite_ms", "razao", "ns_por_lanc");
  for (const Figura& f : figuras) {
    std::printf("%-30s %12lld %12.1f %12.1f %8.2f %14.1f\n", f.relatorio.c_str(),
                static_cast<long long>(f.lancamentos), f.ostrel, f.sqlite, f.ostrel / f.sqlite,
                f.ostrel * 1e6 / static_cast<double>(f.lancamentos));
  }
  return 0;
}
