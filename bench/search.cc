// Speed of the entry searches: BuscaQtdLancamentos over 12 months of 100,000
// entries each, without and with a complement filter, and the account search
// of one account, each next to SQLite answering the same question over the
// same rows (an indexed table and the equivalent WHERE). Records scanned per
// second are the items per second. Targets: at least 20 M records/s without
// the complement filter, and faster than SQLite.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "empresa_ano.h"
#include "lancamento/buscas/busca_comum.h"
#include "lancamento/lancamento_base.h"
#include "outside/admin/suite_setup.h"
#include "platform/bstr.h"
#include "platform/registry.h"
#include "values/qx_data.h"

namespace {

using qx::bench::kAno;
constexpr int64_t kRegistros = int64_t{qx::bench::kMeses} * qx::bench::kPorMes;
constexpr int32_t kConta = 4;
constexpr char kEmpresa[] = "BENCH";
// Found in about one complement text in 50.
constexpr char kComplementoFiltro[] = "fornecedor 17";

uint32_t Dia(int dia, int mes) { return CQXData::Make(dia, mes, kAno).Value(); }

// The search key of SQLite's row, as the entry search makes it.
int32_t Chave(sqlite3_stmt* linha) {
  const CQXMesAno base = CQXMesAno::Make(1, kAno);
  return qx::ChaveBusca(CQXMesAno(static_cast<uint32_t>(sqlite3_column_int(linha, 0))), base,
                        static_cast<uint32_t>(sqlite3_column_int(linha, 1)));
}

// The month files, the company and a SQLite table holding the same rows,
// made once per run in a temporary folder.
class Dados {
 public:
  static Dados& Get() {
    static Dados dados;
    return dados;
  }

  CLancamentoBase& Objeto() { return objeto_; }
  sqlite3* Sql() { return sql_; }

 private:
  Dados() {
    pasta_ = qx::bench::InstalaEmpresa("search", qx::SampleCompany(kEmpresa, kAno));
    if (objeto_.Inicializa(kEmpresa, 1, 4096) != S_OK) std::abort();
    sqlite3_open((pasta_ + "/bench.db").c_str(), &sql_);
    qx::bench::GeraAno({objeto_.GetPastaEmpresa(), sql_, [](std::mt19937& aleatorio) {
                          constexpr int32_t kContas[] = {4, 5, 6, 11, 12, 21, 31, 32};
                          return kContas[aleatorio() % 8];
                        }, true, 0});
  }
  ~Dados() {
    sqlite3_close(sql_);
    std::error_code ignorado;
    std::filesystem::remove_all(pasta_, ignorado);
  }

  std::string pasta_;
  CLancamentoBase objeto_;
  sqlite3* sql_ = nullptr;
};

void BM_BuscaQtdLancamentos(benchmark::State& state) {
  CLancamentoBase& objeto = Dados::Get().Objeto();
  objeto.LimpaFiltro();
  if (state.range(0) != 0) {
    qx::UniqueBstr filtro(qx::BstrFromCp1252(kComplementoFiltro));
    objeto.SetComplementoFiltro(filtro.get());
  }
  int32_t quantidade = 0;
  for (auto _ : state) {
    objeto.BuscaQtdLancamentos(Dia(1, 1), Dia(31, 12), &quantidade);
    benchmark::DoNotOptimize(quantidade);
  }
  objeto.LimpaFiltro();
  objeto.BuscaLancamentos(0, nullptr);
  state.counters["found"] = quantidade;
  state.SetItemsProcessed(state.iterations() * kRegistros);
}
BENCHMARK(BM_BuscaQtdLancamentos)
    ->ArgName("complement")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond);

// Runs the prepared query once per iteration, collecting the keys of its
// rows, then finalizes it; the rate counts every record of the data set.
void ExecutaConsulta(benchmark::State& state, sqlite3_stmt* consulta) {
  std::vector<int32_t> chaves;
  for (auto _ : state) {
    chaves.clear();
    while (sqlite3_step(consulta) == SQLITE_ROW) {
      chaves.push_back(Chave(consulta));
    }
    sqlite3_reset(consulta);
    benchmark::DoNotOptimize(chaves.data());
  }
  sqlite3_finalize(consulta);
  state.counters["found"] = static_cast<double>(chaves.size());
  state.SetItemsProcessed(state.iterations() * kRegistros);
}

// The same keys from SQLite: live entries of the active branches within the
// dates (and with the complement text), collected in month and position order.
void BM_SQLiteBusca(benchmark::State& state) {
  sqlite3* sql = Dados::Get().Sql();
  sqlite3_stmt* consulta = nullptr;
  const char* texto =
      state.range(0) == 0
          ? "SELECT mes, posicao FROM lancamentos WHERE data BETWEEN ?1 AND ?2 AND estado <> 1"
            " AND filial IN (1, 2) ORDER BY mes, posicao"
          : "SELECT mes, posicao FROM lancamentos WHERE data BETWEEN ?1 AND ?2 AND estado <> 1"
            " AND filial IN (1, 2) AND instr(lower(complemento), ?3) > 0 ORDER BY mes, posicao";
  sqlite3_prepare_v2(sql, texto, -1, &consulta, nullptr);
  sqlite3_bind_int64(consulta, 1, Dia(1, 1));
  sqlite3_bind_int64(consulta, 2, Dia(31, 12));
  sqlite3_bind_text(consulta, 3, kComplementoFiltro, -1, SQLITE_STATIC);
  ExecutaConsulta(state, consulta);
}
BENCHMARK(BM_SQLiteBusca)->ArgName("complement")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_BuscaQtdLancamentosConta(benchmark::State& state) {
  CLancamentoBase& objeto = Dados::Get().Objeto();
  const REGLAN_CONTAPS conta{kConta, Dia(1, 1), Dia(31, 12), 0};
  int32_t quantidade = 0;
  for (auto _ : state) {
    objeto.BuscaQtdLancamentosConta(conta, &quantidade);
    state.PauseTiming();
    objeto.BuscaLancamentos(0, nullptr);  // empties the result list
    state.ResumeTiming();
  }
  state.counters["found"] = quantidade;
  state.SetItemsProcessed(state.iterations() * kRegistros);
}
BENCHMARK(BM_BuscaQtdLancamentosConta)->Unit(benchmark::kMillisecond);

// One account's live entries of the active branches in date and position
// order, through the account indexes.
void BM_SQLiteConta(benchmark::State& state) {
  sqlite3* sql = Dados::Get().Sql();
  sqlite3_stmt* consulta = nullptr;
  sqlite3_prepare_v2(sql,
                     "SELECT mes, posicao FROM lancamentos WHERE (debito = ?1 OR credito = ?1)"
                     " AND data BETWEEN ?2 AND ?3 AND estado <> 1 AND filial IN (1, 2)"
                     " ORDER BY data, posicao",
                     -1, &consulta, nullptr);
  sqlite3_bind_int(consulta, 1, kConta);
  sqlite3_bind_int64(consulta, 2, Dia(1, 1));
  sqlite3_bind_int64(consulta, 3, Dia(31, 12));
  ExecutaConsulta(state, consulta);
}
BENCHMARK(BM_SQLiteConta)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
