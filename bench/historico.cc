// The entries' history among 10 million change records: the history of one
// entry (ten updates over a year) and of one day (about 5,500 saves), read
// and decoded by the reports layer, next to SQLite answering the same
// questions over the same rows with an index on each. Target: within 2x.
//
// The records are a year of saves, updates and removals written as the
// previous schema kept them; the first run makes them (a few minutes), times
// their migration in place, and keeps both databases in QX_BENCH_DATA
// (default /var/tmp/qx-bench-historico) for the next runs.
// QX_BENCH_REGISTROS changes the number of records.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "outside/change_log/reg_lan_atual.h"
#include "outside/database/suite_database.h"
#include "outside/database/timestamp.h"
#include "reports/historico.h"
#include "storage/records/entry_records.h"
#include "values/qx_data.h"
#include "values/qx_mes_ano.h"

namespace {

constexpr int kAno = 2024;
constexpr int kSessoes = 20;
const CQXMesAno kMesAlvo = CQXMesAno::Make(3, kAno);
constexpr int32_t kPosicaoAlvo = 1000;
constexpr char kDia[] = "2024-06-12";

int64_t Registros() {
  const char* texto = getenv("QX_BENCH_REGISTROS");
  return texto != nullptr ? std::atoll(texto) : 10000000;
}

std::string Pasta() {
  const char* texto = getenv("QX_BENCH_DATA");
  return texto != nullptr ? texto : "/var/tmp/qx-bench-historico";
}

void Exige(bool certo, const char* oque) {
  if (certo) return;
  std::fprintf(stderr, "historico: %s\n", oque);
  std::exit(2);
}

void Executa(sqlite3* db, const char* sql) {
  Exige(sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK, sqlite3_errmsg(db));
}

// The two databases being written: the change log as the previous schema
// kept it, and SQLite's table of the same rows with the entry of each.
class Escritor {
 public:
  Escritor(const std::string& anterior, const std::string& referencia) {
    Exige(sqlite3_open(anterior.c_str(), &log_) == SQLITE_OK, "open");
    Exige(sqlite3_open(referencia.c_str(), &ref_) == SQLITE_OK, "open");
    for (sqlite3* db : {log_, ref_}) {
      Executa(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN");
    }
    Executa(log_, R"sql(
      CREATE TABLE sessoes (sessao INTEGER PRIMARY KEY, usuario INTEGER NOT NULL,
                            aplicativo TEXT NOT NULL DEFAULT '', data INTEGER NOT NULL);
      CREATE TABLE log_alteracoes (id INTEGER PRIMARY KEY AUTOINCREMENT, sessao INTEGER NOT NULL,
        chave INTEGER NOT NULL, tipo INTEGER NOT NULL, servico TEXT NOT NULL,
        dados BLOB NOT NULL, gravado_em TEXT NOT NULL);
      PRAGMA user_version = 1;)sql");
    Executa(log_, ("PRAGMA application_id = " + std::to_string(qx::kSuiteApplicationId)).c_str());
    for (int s = 1; s <= kSessoes; ++s) {
      Executa(log_, ("INSERT INTO sessoes VALUES (" + std::to_string(s << 12) + ", " +
                     std::to_string(1 + s % 5) + ", 'bench', 0)")
                        .c_str());
    }
    Executa(ref_,
            "CREATE TABLE log (id INTEGER PRIMARY KEY, sessao, chave, tipo, servico, dados, "
            "gravado_em, mes, posicao)");
    sqlite3_prepare_v2(log_,
                       "INSERT INTO log_alteracoes (sessao, chave, tipo, servico, dados, "
                       "gravado_em) VALUES (?, ?, ?, ?, ?, ?)",
                       -1, &insereLog_, nullptr);
    sqlite3_prepare_v2(ref_, "INSERT INTO log VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)", -1, &insereRef_,
                       nullptr);
  }
  ~Escritor() {
    sqlite3_finalize(insereLog_);
    sqlite3_finalize(insereRef_);
    Executa(log_, "COMMIT");
    Executa(ref_,
            "COMMIT; CREATE INDEX log_lancamento ON log (mes, posicao); "
            "CREATE INDEX log_momento ON log (gravado_em)");
    sqlite3_close(log_);
    sqlite3_close(ref_);
  }

  int64_t Escritos() const { return escritos_; }

  void Registro(int sessao, int32_t chave, int tipo, char servico, const void* dados,
                size_t tamanho, const std::string& momento, uint16_t mes, int32_t posicao) {
    ++escritos_;
    const auto comuns = [&](sqlite3_stmt* s, int primeiro) {
      sqlite3_bind_int(s, primeiro, sessao);
      sqlite3_bind_int(s, primeiro + 1, chave);
      sqlite3_bind_int(s, primeiro + 2, tipo);
      sqlite3_bind_text(s, primeiro + 3, &servico, 1, SQLITE_STATIC);
      sqlite3_bind_blob(s, primeiro + 4, tamanho == 0 ? "" : dados, static_cast<int>(tamanho),
                        SQLITE_STATIC);
      sqlite3_bind_text(s, primeiro + 5, momento.c_str(), -1, SQLITE_STATIC);
    };
    comuns(insereLog_, 1);
    Exige(sqlite3_step(insereLog_) == SQLITE_DONE, sqlite3_errmsg(log_));
    sqlite3_reset(insereLog_);
    sqlite3_bind_int64(insereRef_, 1, escritos_);
    comuns(insereRef_, 2);
    sqlite3_bind_int(insereRef_, 8, mes);
    sqlite3_bind_int(insereRef_, 9, posicao);
    Exige(sqlite3_step(insereRef_) == SQLITE_DONE, sqlite3_errmsg(ref_));
    sqlite3_reset(insereRef_);
  }

 private:
  sqlite3* log_ = nullptr;
  sqlite3* ref_ = nullptr;
  sqlite3_stmt* insereLog_ = nullptr;
  sqlite3_stmt* insereRef_ = nullptr;
  int64_t escritos_ = 0;
};

// A year of saves (55 %, half with a two-line split), updates of a live
// entry (35 %) and removals (10 %), the records spread evenly over the year;
// the entry of the history asked for is updated every million records.
class Gerador {
 public:
  Gerador(Escritor& escritor, int64_t total) : escritor_(escritor), total_(total) {}

  void Executa() {
    int64_t proximaAlvo = total_ / 10;
    while (escritor_.Escritos() < total_) {
      Momento();
      const bool alvoCriado = alvo_ != SIZE_MAX;
      if (alvoCriado && escritor_.Escritos() >= proximaAlvo) {
        proximaAlvo += total_ / 10;
        Altera(alvo_);
        continue;
      }
      const int sorte = static_cast<int>(rng_() % 100);
      if (sorte < 55 || vivos_.size() < 100) {
        Novo();
      } else if (sorte < 90) {
        Altera(Sorteia());
      } else {
        Exclui(Sorteia());
      }
    }
  }

 private:
  struct Vivo {
    RegLanAtual imagem;
    uint16_t mes;
    int32_t posicao;
    int linhas;
    int32_t primeiraLinha;
  };

  // The moment of the next save: the records spread evenly over the year.
  void Momento() {
    const int64_t ms = escritor_.Escritos() * (int64_t{366} * 86400 * 1000) / total_;
    const int64_t dia = ms / 86400000, resto = ms % 86400000;
    data_ = CQXData(CQXData::Make(1, 1, kAno).Value() + static_cast<uint32_t>(dia));
    SYSTEMTIME quando{};
    quando.wYear = static_cast<uint16_t>(data_.Year());
    quando.wMonth = static_cast<uint16_t>(data_.Month());
    quando.wDay = static_cast<uint16_t>(data_.Day());
    quando.wHour = static_cast<uint16_t>(resto / 3600000);
    quando.wMinute = static_cast<uint16_t>(resto / 60000 % 60);
    quando.wSecond = static_cast<uint16_t>(resto / 1000 % 60);
    quando.wMilliseconds = static_cast<uint16_t>(resto % 1000);
    momento_ = qx::TimestampText(quando);
    sessao_ = static_cast<int>(1 + rng_() % kSessoes) << 12;
  }

  size_t Sorteia() {
    size_t k = rng_() % vivos_.size();
    return k == alvo_ ? (k + 1) % vivos_.size() : k;
  }

  void Imagem(const Vivo& v, char servico, uint8_t status) {
    RegLanAtual imagem = v.imagem;
    imagem.cStatus = status;
    escritor_.Registro(sessao_, v.posicao, qx::kLogTipoLancamento, servico, &imagem, sizeof imagem,
                       momento_, v.mes, v.posicao);
    const std::string complemento = "Pagamento da nota fiscal " + std::to_string(imagem.Documento);
    escritor_.Registro(sessao_, v.posicao, qx::kLogTipoComplemento, servico, complemento.data(),
                       complemento.size(), momento_, v.mes, v.posicao);
  }

  void Linhas(Vivo& v, char servico) {
    v.primeiraLinha = v.linhas > 0 ? ++linhasDoMes_[v.mes] : 0;
    for (int k = 0; k < v.linhas; ++k) {
      REGLAN_GER linha{CURRENCY{v.imagem.Valor.int64 / v.linhas}, static_cast<uint32_t>(v.posicao),
                       2 + k, v.imagem.Debito};
      escritor_.Registro(sessao_, v.primeiraLinha + k, qx::kLogTipoGerencial, servico, &linha,
                         sizeof linha, momento_, v.mes, v.posicao);
    }
    linhasDoMes_[v.mes] += v.linhas > 0 ? v.linhas - 1 : 0;
  }

  void Preenche(Vivo& v) {
    v.imagem.Data = data_.Value();
    v.imagem.Debito = static_cast<int32_t>(4 + rng_() % 30);
    v.imagem.Credito = static_cast<int32_t>(11 + rng_() % 30);
    v.imagem.Valor.int64 = static_cast<int64_t>(rng_() % 100000000);
    v.imagem.Filial = static_cast<uint16_t>(1 + rng_() % 3);
    v.imagem.CodHis = static_cast<uint16_t>(rng_() % 20);
    v.imagem.Documento = static_cast<int32_t>(rng_() % 1000000);
    v.imagem.Complemento = static_cast<int32_t>(escritor_.Escritos());
    v.imagem.Secao = static_cast<uint16_t>(sessao_ >> 12);
    v.linhas = rng_() % 2 == 0 ? 2 : 0;
  }

  void Novo() {
    Vivo v{};
    v.mes = data_.MesAno().Value();
    v.posicao = ++posicoes_[v.mes];
    Preenche(v);
    Imagem(v, qx::kLogInclusao, 0);
    Linhas(v, qx::kLogInclusao);
    if (v.mes == kMesAlvo.Value() && v.posicao == kPosicaoAlvo) alvo_ = vivos_.size();
    vivos_.push_back(v);
  }

  void Altera(size_t k) {
    Vivo& v = vivos_[k];
    RegLanAtual antes = v.imagem;
    antes.Gerencial = v.primeiraLinha;
    Vivo velho = v;
    velho.imagem = antes;
    Imagem(velho, qx::kLogAntes, 0);
    if (v.primeiraLinha != 0) {
      REGLAN_GER linha{CURRENCY{v.imagem.Valor.int64 / v.linhas}, static_cast<uint32_t>(v.posicao),
                       2, v.imagem.Debito};
      escritor_.Registro(sessao_, v.primeiraLinha, qx::kLogTipoGerencial, qx::kLogAntes, &linha,
                         sizeof linha, momento_, v.mes, v.posicao);
    }
    const uint32_t data = v.imagem.Data;
    Preenche(v);
    v.imagem.Data = data;  // the entry stays in its month
    Imagem(v, qx::kLogAlteracao, 0);
    Linhas(v, qx::kLogAlteracao);
  }

  void Exclui(size_t k) {
    Imagem(vivos_[k], qx::kLogExclusao, qx::kEntryDeleted);
    if (alvo_ == vivos_.size() - 1) alvo_ = k;
    vivos_[k] = vivos_.back();
    vivos_.pop_back();
  }

  Escritor& escritor_;
  int64_t total_;
  std::mt19937_64 rng_{20240612};
  std::vector<Vivo> vivos_;
  size_t alvo_ = SIZE_MAX;
  std::vector<int32_t> posicoes_ = std::vector<int32_t>(CQXMesAno::kLast + 1);
  std::vector<int32_t> linhasDoMes_ = std::vector<int32_t>(CQXMesAno::kLast + 1);
  CQXData data_;
  std::string momento_;
  int sessao_ = 0;
};

struct Dados {
  std::shared_ptr<qx::SuiteDatabase> log;
  sqlite3* referencia = nullptr;
};

Dados& Abre() {
  static Dados dados = [] {
    const std::string pasta = Pasta() + "/" + std::to_string(Registros());
    const std::string log = pasta + "/QXSUITE.db", referencia = pasta + "/referencia.db";
    if (!std::filesystem::exists(pasta + "/pronto")) {
      std::filesystem::remove_all(pasta);
      std::filesystem::create_directories(pasta);
      auto inicio = std::chrono::steady_clock::now();
      {
        Escritor escritor(log, referencia);
        Gerador(escritor, Registros()).Executa();
      }
      const auto segundos = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
      };
      std::printf("%lld records written in %.0f s\n", static_cast<long long>(Registros()),
                  segundos());
      inicio = std::chrono::steady_clock::now();
      std::shared_ptr<qx::SuiteDatabase> db;
      std::string mensagem;
      Exige(
          qx::SuiteDatabase::Open(log, qx::SuiteDatabase::Mode::kExisting, &db, &mensagem) == S_OK,
          mensagem.c_str());
      std::printf("migrated from the previous schema in place in %.0f s\n", segundos());
      std::fclose(std::fopen((pasta + "/pronto").c_str(), "w"));
    }
    Dados d;
    std::string mensagem;
    Exige(
        qx::SuiteDatabase::Open(log, qx::SuiteDatabase::Mode::kExisting, &d.log, &mensagem) == S_OK,
        mensagem.c_str());
    Exige(sqlite3_open_v2(referencia.c_str(), &d.referencia, SQLITE_OPEN_READONLY, nullptr) ==
              SQLITE_OK,
          "referencia.db");
    return d;
  }();
  return dados;
}

qx::FiltroEventos Lancamento() {
  qx::FiltroEventos filtro;
  filtro.mes = kMesAlvo.Value();
  filtro.posicao = kPosicaoAlvo;
  return filtro;
}

qx::FiltroEventos Dia() {
  qx::FiltroEventos filtro;
  filtro.de = std::string(kDia) + " 00:00:00.000";
  filtro.ate = std::string(kDia) + " 23:59:59.999";
  return filtro;
}

void Historico(benchmark::State& state, const qx::FiltroEventos& filtro) {
  Dados& d = Abre();
  std::vector<qx::EventoHistorico> eventos;
  for (auto _ : state) {
    if (qx::LeHistorico(*d.log, filtro, &eventos) != S_OK) state.SkipWithError("history failed");
  }
  size_t mudancas = 0;
  for (const qx::EventoHistorico& e : eventos) mudancas += e.mudancas.size();
  state.counters["eventos"] = static_cast<double>(eventos.size());
  state.counters["mudancas"] = static_cast<double>(mudancas);
}

// SQLite gives the change records of the same question, with their bytes;
// `liga` binds its parameters.
template <typename Liga>
void Sqlite(benchmark::State& state, const char* condicao, Liga liga) {
  Dados& d = Abre();
  const std::string sql =
      std::string("SELECT id, sessao, chave, tipo, servico, dados, gravado_em FROM log WHERE ") +
      condicao + " ORDER BY id";
  sqlite3_stmt* query = nullptr;
  sqlite3_prepare_v2(d.referencia, sql.c_str(), -1, &query, nullptr);
  struct Linha {
    int64_t id, sessao, chave, tipo;
    std::string servico, dados, momento;
  };
  std::vector<Linha> linhas;
  for (auto _ : state) {
    linhas.clear();
    liga(query);
    while (sqlite3_step(query) == SQLITE_ROW) {
      const auto texto = [&](int c) {
        return std::string(static_cast<const char*>(sqlite3_column_blob(query, c)),
                           static_cast<size_t>(sqlite3_column_bytes(query, c)));
      };
      linhas.push_back({sqlite3_column_int64(query, 0), sqlite3_column_int64(query, 1),
                        sqlite3_column_int64(query, 2), sqlite3_column_int64(query, 3), texto(4),
                        texto(5), texto(6)});
    }
    sqlite3_reset(query);
  }
  sqlite3_finalize(query);
  state.counters["registros"] = static_cast<double>(linhas.size());
}

void BM_HistoricoLancamento(benchmark::State& state) { Historico(state, Lancamento()); }
void BM_SqliteLancamento(benchmark::State& state) {
  Sqlite(state, "mes = ? AND posicao = ?", [](sqlite3_stmt* query) {
    sqlite3_bind_int(query, 1, kMesAlvo.Value());
    sqlite3_bind_int(query, 2, kPosicaoAlvo);
  });
}
void BM_HistoricoDia(benchmark::State& state) { Historico(state, Dia()); }
void BM_SqliteDia(benchmark::State& state) {
  static const qx::FiltroEventos dia = Dia();
  Sqlite(state, "gravado_em BETWEEN ? AND ?", [](sqlite3_stmt* query) {
    sqlite3_bind_text(query, 1, dia.de.c_str(), -1, SQLITE_STATIC);
    sqlite3_bind_text(query, 2, dia.ate.c_str(), -1, SQLITE_STATIC);
  });
}

BENCHMARK(BM_HistoricoLancamento)->Unit(benchmark::kMicrosecond)->Repetitions(3);
BENCHMARK(BM_SqliteLancamento)->Unit(benchmark::kMicrosecond)->Repetitions(3);
BENCHMARK(BM_HistoricoDia)->Unit(benchmark::kMillisecond)->Repetitions(3);
BENCHMARK(BM_SqliteDia)->Unit(benchmark::kMillisecond)->Repetitions(3);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Abre();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
}
