// Speed and memory of the bookkeeping file (ECD): a year of 12 months x
// 100,000 entries (a third with the debit split over two cost centres), a
// chart of 180 analytic accounts, closed at the year's end, written by the
// writer and read back by the checker. The model holds the chart, the
// balances and the statements; the entries are made one at a time, as the
// books hand them. Beside the writer, SQLite gives the same entry lines
// (I200/I250, nine tenths of the file) with printf over the same rows,
// already loaded. Each time is the median of three runs. Targets: the file
// in under a minute; private memory bounded (it does not grow with the
// entries).
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "platform/process_info.h"
#include "reports/ecd/confere.h"
#include "reports/ecd/demonstracoes.h"
#include "reports/ecd/escreve.h"
#include "values/qx_mes_ano.h"

namespace {

using namespace qx::ecd;

constexpr int kAno = 2026, kMeses = 12, kPorMes = 100000, kCentros = 10;
constexpr char kArquivo[] = QX_BINARY_DIR "/bench_ecd.txt";

struct Plano {
  std::vector<std::string> patrimoniais, resultado;
};

Plano MontaPlano(Livro* l) {
  Plano p;
  const auto conta = [&](std::string codigo, std::string superior, Natureza n, bool a, int nivel) {
    l->contas.push_back({codigo, superior, "Conta " + codigo, n, a, nivel, {}});
    if (a && n == Natureza::kResultado) p.resultado.push_back(codigo);
    if (a && n != Natureza::kResultado && codigo != "2.3.1.002") p.patrimoniais.push_back(codigo);
  };
  const auto grupo = [&](const std::string& raiz, Natureza n, int quantas) {
    for (int i = 1; i <= quantas; ++i) {
      char codigo[32];
      std::snprintf(codigo, sizeof codigo, "%s.%03d", raiz.c_str(), i);
      conta(codigo, raiz, n, true, static_cast<int>(std::count(raiz.begin(), raiz.end(), '.')) + 2);
    }
  };
  conta("1", "", Natureza::kAtivo, false, 1);
  conta("1.1", "1", Natureza::kAtivo, false, 2);
  conta("1.1.1", "1.1", Natureza::kAtivo, false, 3);
  grupo("1.1.1", Natureza::kAtivo, 60);
  conta("2", "", Natureza::kPassivo, false, 1);
  conta("2.1", "2", Natureza::kPassivo, false, 2);
  conta("2.1.1", "2.1", Natureza::kPassivo, false, 3);
  grupo("2.1.1", Natureza::kPassivo, 38);
  conta("2.3", "2", Natureza::kPatrimonioLiquido, false, 2);
  conta("2.3.1", "2.3", Natureza::kPatrimonioLiquido, false, 3);
  grupo("2.3.1", Natureza::kPatrimonioLiquido, 2);
  conta("3", "", Natureza::kResultado, false, 1);
  conta("3.1", "3", Natureza::kResultado, false, 2);
  grupo("3.1", Natureza::kResultado, 40);
  conta("3.2", "3", Natureza::kResultado, false, 2);
  grupo("3.2", Natureza::kResultado, 40);
  for (int c = 1; c <= kCentros; ++c)
    l->centros.push_back({"CC" + std::to_string(c), "Centro", {}});
  for (int h = 1; h <= 5; ++h) l->historicos.push_back({std::to_string(h), "Historico padrao"});
  return p;
}

// A month's entries, the same every time for the same month.
void GeraMes(const Plano& plano, int mes, const std::function<void(const Lancamento&)>& visita) {
  std::mt19937 sorte(static_cast<unsigned>(mes));
  Lancamento l;
  for (int i = 0; i < kPorMes; ++i) {
    const auto& de = plano.patrimoniais;
    const auto& todas = sorte() % 2 ? plano.resultado : de;
    const std::string& debito = todas[sorte() % todas.size()];
    const std::string& credito = de[sorte() % de.size()];
    const int64_t valor = (1 + sorte() % 1000000) * 200;  // whole cents in both halves
    l.filial = static_cast<uint16_t>(1 + i % 2);
    l.numero = static_cast<uint64_t>(mes) * kPorMes + static_cast<uint64_t>(i);
    l.data = CQXData::Make(1 + i % 28, mes, kAno);
    l.partidas.clear();
    const std::string historico = "Lancamento " + std::to_string(i) + " NF 1234 cliente";
    const std::string padrao = i % 2 ? std::to_string(1 + i % 5) : "";
    if (i % 3 == 0) {
      l.partidas.push_back({debito, "CC" + std::to_string(1 + i % kCentros), valor / 2, 'D', "NF",
                            padrao, historico});
      l.partidas.push_back({debito, "CC" + std::to_string(1 + (i + 1) % kCentros),
                            valor - valor / 2, 'D', "NF", padrao, historico});
    } else {
      l.partidas.push_back({debito, "", valor, 'D', "NF", padrao, historico});
    }
    l.partidas.push_back({credito, "", valor, 'C', "NF", padrao, historico});
    visita(l);
  }
}

// The year's entries and, after December's, the closing of each result
// account and cost centre into retained earnings.
struct Ano {
  Plano plano;
  std::vector<Lancamento> encerramento;
  void Percorre(const std::function<void(const Lancamento&)>& visita) const {
    for (int mes = 1; mes <= kMeses; ++mes) GeraMes(plano, mes, visita);
    for (const Lancamento& l : encerramento) visita(l);
  }
};

// The balances of every month, the result before closing and the statements.
void MontaSaldos(Livro* livro, Ano* ano) {
  std::map<std::pair<std::string, std::string>, int64_t> saldo;
  std::map<std::pair<std::string, std::string>, std::pair<int64_t, int64_t>> movimento;
  int mes = 1;
  const auto fechaMes = [&] {
    Periodo p{CQXData::Make(1, mes, kAno), CQXData::FromMesAno(CQXMesAno::Make(mes, kAno), 31), {}};
    for (auto& [chave, s] : saldo) {
      const auto m = movimento[chave];
      if (s == 0 && m.first == 0 && m.second == 0) continue;
      p.saldos.push_back({chave.first, chave.second, s, m.first, m.second});
      s += m.first - m.second;
    }
    for (auto& [chave, m] : movimento) {
      if (saldo.count(chave) == 0 && (m.first != 0 || m.second != 0)) {
        p.saldos.push_back({chave.first, chave.second, 0, m.first, m.second});
        saldo[chave] = m.first - m.second;
      }
    }
    movimento.clear();
    livro->periodos.push_back(std::move(p));
  };
  const auto soma = [&](const Lancamento& l) {
    for (const Partida& p : l.partidas) {
      auto& m = movimento[{p.conta, p.centro}];
      (p.natureza == 'D' ? m.first : m.second) += p.valor;
    }
  };
  for (; mes < kMeses; ++mes) {
    GeraMes(ano->plano, mes, soma);
    fechaMes();
  }
  GeraMes(ano->plano, kMeses, soma);
  // December's result before closing, then the closing entries.
  std::map<std::pair<std::string, std::string>, int64_t> antes = saldo;
  for (const auto& [chave, m] : movimento) antes[chave] += m.first - m.second;
  Apuracao apuracao{livro->fimExercicio, {}};
  uint64_t numero = 900000000;
  for (const std::string& conta : ano->plano.resultado) {
    Lancamento l{1, ++numero, livro->fimExercicio, true, {}};
    int64_t total = 0;
    for (const auto& [chave, valor] : antes) {
      if (chave.first != conta || valor == 0) continue;
      apuracao.saldos.push_back({conta, chave.second, valor});
      l.partidas.push_back({conta, chave.second, valor < 0 ? -valor : valor, valor < 0 ? 'D' : 'C',
                            "", "", "Encerramento"});
      total += valor;
    }
    if (l.partidas.empty()) continue;
    l.partidas.push_back({"2.3.1.002", "", total < 0 ? -total : total, total < 0 ? 'C' : 'D', "",
                          "", "Encerramento"});
    soma(l);
    ano->encerramento.push_back(std::move(l));
  }
  fechaMes();
  livro->apuracoes.push_back(std::move(apuracao));
  MontaDemonstracoes(livro);
}

template <class F>
double Mediana(F f) {
  std::vector<double> ms;
  for (int i = 0; i < 3; ++i) {
    const auto inicio = std::chrono::steady_clock::now();
    f();
    ms.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - inicio)
            .count());
  }
  std::sort(ms.begin(), ms.end());
  return ms[1];
}

// The peer: the same I200/I250 lines from SQLite rows, already loaded.
class Peer {
 public:
  explicit Peer(const Ano& ano) {
    sqlite3_open(":memory:", &db_);
    sqlite3_exec(db_,
                 "CREATE TABLE lanc (id INTEGER PRIMARY KEY, numero TEXT, data TEXT, valor INTEGER,"
                 " tipo TEXT);"
                 "CREATE TABLE partida (lanc INTEGER, conta TEXT, centro TEXT, valor INTEGER,"
                 " dc TEXT, doc TEXT, padrao TEXT, hist TEXT); BEGIN",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt *l = nullptr, *p = nullptr;
    sqlite3_prepare_v2(db_, "INSERT INTO lanc VALUES (?, ?, ?, ?, ?)", -1, &l, nullptr);
    sqlite3_prepare_v2(db_, "INSERT INTO partida VALUES (?, ?, ?, ?, ?, ?, ?, ?)", -1, &p, nullptr);
    int64_t id = 0;
    ano.Percorre([&](const Lancamento& x) {
      ++id;
      int64_t valor = 0;
      for (const Partida& y : x.partidas) valor += y.natureza == 'D' ? y.valor : 0;
      const std::string numero = NumeroLancamento(x), data = std::to_string(x.data.Value());
      sqlite3_bind_int64(l, 1, id);
      sqlite3_bind_text(l, 2, numero.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(l, 3, data.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_int64(l, 4, valor);
      sqlite3_bind_text(l, 5, x.encerramento ? "E" : "N", -1, SQLITE_STATIC);
      sqlite3_step(l);
      sqlite3_reset(l);
      for (const Partida& y : x.partidas) {
        sqlite3_bind_int64(p, 1, id);
        const std::string* textos[] = {&y.conta,     &y.centro,          nullptr,     nullptr,
                                       &y.documento, &y.historicoPadrao, &y.historico};
        for (int i = 0; i < 7; ++i) {
          if (textos[i] != nullptr)
            sqlite3_bind_text(p, i + 2, textos[i]->c_str(), -1, SQLITE_TRANSIENT);
        }
        sqlite3_bind_int64(p, 4, y.valor);
        sqlite3_bind_text(p, 5, y.natureza == 'D' ? "D" : "C", -1, SQLITE_STATIC);
        sqlite3_step(p);
        sqlite3_reset(p);
      }
    });
    sqlite3_finalize(l);
    sqlite3_finalize(p);
    sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr);
  }
  ~Peer() { sqlite3_close(db_); }

  void Escreve(const char* caminho) {
    std::FILE* f = std::fopen(caminho, "wb");
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(
        db_,
        "SELECT printf('|I200|%s|%s|%d,%02d|%s||', numero, data, valor / 10000,"
        " valor / 100 % 100, tipo), NULL, lanc.id FROM lanc"
        " UNION ALL SELECT NULL, printf('|I250|%s|%s|%d,%02d|%s|%s|%s|%s||', conta, centro,"
        " valor / 10000, valor / 100 % 100, dc, doc, padrao, hist), lanc FROM partida"
        " ORDER BY 3",
        -1, &s, nullptr);
    while (sqlite3_step(s) == SQLITE_ROW) {
      const unsigned char* texto =
          sqlite3_column_text(s, sqlite3_column_type(s, 0) == SQLITE_NULL ? 1 : 0);
      std::fputs(reinterpret_cast<const char*>(texto), f);
      std::fputs("\r\n", f);
    }
    sqlite3_finalize(s);
    std::fclose(f);
  }

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace

int main() {
  Livro livro;
  livro.empresa = {
      "Empresa do Ano Ltda", "11222333000181",           "SP", "3550308", "Sao Paulo", "", "",
      "35212345678",         CQXData::Make(10, 1, 2020), {},   false};
  livro.inicio = CQXData::Make(1, 1, kAno);
  livro.fim = livro.fimExercicio = CQXData::Make(31, 12, kAno);
  livro.signatarios = {
      {"Ana", "52998224725", "900", "1SP1", "SP", "", {}, "a@b.br", "1133334444", false},
      {"Beto", "11144477735", "205", "", "", "", {}, "", "", true}};
  Ano ano;
  ano.plano = MontaPlano(&livro);
  std::fprintf(stderr, "bench_ecd: balances of %d months of %d entries...\n", kMeses, kPorMes);
  MontaSaldos(&livro, &ano);
  livro.lancamentos = [&](const std::function<void(const Lancamento&)>& visita) {
    ano.Percorre(visita);
  };
  const int64_t antes = qx::ProcessPrivateMemory();
  int64_t maior = antes;
  uint64_t vistos = 0;
  Livro medido = livro;
  medido.lancamentos = [&](const std::function<void(const Lancamento&)>& visita) {
    ano.Percorre([&](const Lancamento& l) {
      if (++vistos % 100000 == 0) maior = std::max(maior, qx::ProcessPrivateMemory());
      visita(l);
    });
  };
  const double escrita = Mediana([&] {
    std::ofstream saida(kArquivo, std::ios::binary);
    EscreveEcd(medido, saida);
  });
  uint64_t problemas = 0;
  const double conferencia = Mediana([&] {
    std::ifstream entrada(kArquivo, std::ios::binary);
    problemas = ConfereEcd(
        entrada, [](const Problema& p) { std::fprintf(stderr, "%s\n", TextoProblema(p).c_str()); });
  });
  const int64_t depois = qx::ProcessPrivateMemory();
  std::ifstream tamanho(kArquivo, std::ios::binary | std::ios::ate);
  const double mb = static_cast<double>(tamanho.tellg()) / 1e6;
  std::fprintf(stderr, "bench_ecd: loading the peer...\n");
  Peer peer(ano);
  const double sqlite = Mediana([&] { peer.Escreve(QX_BINARY_DIR "/bench_ecd_sqlite.txt"); });
  std::printf("%-34s %10s %10s %8s\n", "ecd", "ostrel_ms", "sqlite_ms", "razao");
  std::printf("%-34s %10.0f %10.0f %8.2f\n", "arquivo inteiro (I200/I250 no par)", escrita, sqlite,
              escrita / sqlite);
  std::printf("%-34s %10.0f\n", "conferencia do arquivo", conferencia);
  std::printf(
      "arquivo %.0f MB; problemas %llu; memoria privada: antes %lld MB, na escrita ate %lld MB,"
      " depois da conferencia %lld MB\n",
      mb, static_cast<unsigned long long>(problemas), static_cast<long long>(antes >> 20),
      static_cast<long long>(maior >> 20), static_cast<long long>(depois >> 20));
  std::remove(kArquivo);
  std::remove(QX_BINARY_DIR "/bench_ecd_sqlite.txt");
  return problemas == 0 ? 0 : 1;
}
