// A year of a company for the benchmarks, written straight into its month
// files, and the same rows into SQLite tables: 12 months of 100,000 entries,
// one in twenty deleted, each with a complement ("Pagamento NF 123", naming
// one of 50 suppliers when asked: "... Fornecedor 17"), and, when asked, a
// 2-line split on every third entry. Also the median of three runs that every
// figure of the benchmarks is.
#pragma once

#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "outside/admin/suite_setup.h"
#include "platform/registry.h"
#include "storage/month_name.h"
#include "storage/records/entry_records.h"
#include "values/qx_data.h"
#include "values/qx_mes_ano.h"

namespace qx::bench {

inline constexpr int kMeses = 12;
inline constexpr int kPorMes = 100000;
inline constexpr int kAno = 2024;

inline void ExecutaSql(sqlite3* sql, const char* texto) {
  char* erro = nullptr;
  if (sqlite3_exec(sql, texto, nullptr, nullptr, &erro) != SQLITE_OK) {
    std::fprintf(stderr, "%s: %s\n", texto, erro);
    std::abort();
  }
}

// The seconds of `vez(i)` for run i of three, their median; `antes` runs
// before each, untimed.
inline double Mediana(
    const std::function<void(int)>& vez, const std::function<void()>& antes = [] {}) {
  std::vector<double> tempos;
  for (int i = 0; i < 3; ++i) {
    antes();
    const auto inicio = std::chrono::steady_clock::now();
    vez(i);
    tempos.push_back(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count());
  }
  std::sort(tempos.begin(), tempos.end());
  return tempos[1];
}

// A temporary folder ("/tmp/qx-bench-NOME-XXXXXX") with an installation and
// the company of `seed` in it, the registry and the runtime's folder there
// too; the folder.
inline std::string InstalaEmpresa(const std::string& nome, const CompanySeed& seed) {
  std::string modelo = "/tmp/qx-bench-" + nome + "-XXXXXX";
  if (mkdtemp(modelo.data()) == nullptr) std::abort();
  setenv("QX_REGISTRY", (modelo + "/machine.reg").c_str(), 1);
  setenv("QX_REGISTRY_USER", (modelo + "/user.reg").c_str(), 1);
  setenv("QX_RUNTIME_DIR", (modelo + "/run").c_str(), 1);
  const Registry registro(modelo + "/machine.reg", modelo + "/user.reg");
  std::string mensagem;
  if (CreateInstallation(registro, modelo + "/inst", &mensagem) != S_OK ||
      CreateCompany(registro, seed, modelo + "/EMP", &mensagem) != S_OK) {
    std::fprintf(stderr, "no company: %s\n", mensagem.c_str());
    std::abort();
  }
  return modelo;
}

struct Ano {
  std::string cn;  // the accounting folder
  sqlite3* sql;    // gets "lancamentos" (and "rateio" with centros)
  // The debit and the credit account of each entry.
  std::function<int32_t(std::mt19937&)> conta;
  bool fornecedor = false;  // complements name one of 50 suppliers
  int centros = 0;          // split lines over managerial accounts 2..centros+1
  int32_t porMes = kPorMes;  // entries of each month
};

// Writes each month's files and the same rows into SQLite, indexed by date
// and by each account.
inline void GeraAno(const Ano& ano) {
  ExecutaSql(ano.sql,
             "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;"
             "CREATE TABLE lancamentos (mes INTEGER, posicao INTEGER, data INTEGER,"
             " documento INTEGER, historico INTEGER, debito INTEGER, credito INTEGER,"
             " valor INTEGER, filial INTEGER, estado INTEGER, complemento TEXT,"
             " PRIMARY KEY (mes, posicao)) WITHOUT ROWID;"
             "CREATE TABLE rateio (mes INTEGER, posicao INTEGER, linha INTEGER, centro INTEGER,"
             " conta INTEGER, valor INTEGER, quantidade INTEGER,"
             " PRIMARY KEY (mes, posicao, linha)) WITHOUT ROWID;");
  std::mt19937 aleatorio(20240101);
  sqlite3_stmt* insere = nullptr;
  sqlite3_stmt* rateia = nullptr;
  sqlite3_prepare_v2(ano.sql, "INSERT INTO lancamentos VALUES (?,?,?,?,?,?,?,?,?,?,?)", -1,
                     &insere, nullptr);
  sqlite3_prepare_v2(ano.sql, "INSERT INTO rateio VALUES (?,?,?,?,?,?,?)", -1, &rateia, nullptr);
  const auto passo = [](sqlite3_stmt* s, const std::vector<int64_t>& valores) {
    for (size_t i = 0; i < valores.size(); ++i) {
      sqlite3_bind_int64(s, static_cast<int>(i + 1), valores[i]);
    }
    sqlite3_step(s);
    sqlite3_reset(s);
  };
  ExecutaSql(ano.sql, "BEGIN");
  for (int m = 1; m <= kMeses; ++m) {
    const auto mes = static_cast<uint16_t>(CQXMesAno::Make(m, kAno).Value());
    const auto abre = [&](const char* prefixo) {
      return std::ofstream(NomeArquivoMes(ano.cn, prefixo, mes), std::ios::binary);
    };
    const auto escreve = [](std::ofstream& f, const auto& registro) {
      f.write(reinterpret_cast<const char*>(&registro), sizeof registro);
    };
    std::ofstream lancamentos = abre(kPrefixoLancamentos);
    std::ofstream textos = abre(kPrefixoComplementos);
    std::ofstream linhas, quantidades;
    escreve(lancamentos, EntryRecord{});
    textos.put(kComplementZeroByte);
    if (ano.centros > 0) {
      linhas = abre(kPrefixoGerencial);
      quantidades = abre(kPrefixoQuantidades);
      escreve(linhas, REGLAN_GER{});
      escreve(quantidades, REGQTD_GER{});
    }
    int32_t posicaoTexto = 1, posicaoLinha = 1;
    for (int32_t p = 1; p <= ano.porMes; ++p) {
      EntryRecord r{};
      r.Documento = static_cast<int32_t>(aleatorio() % 100000);
      r.Debito = ano.conta(aleatorio);
      r.Credito = ano.conta(aleatorio);
      r.Valor.int64 = 100 + static_cast<int64_t>(aleatorio() % 10000000);
      r.Filial = static_cast<uint16_t>(1 + aleatorio() % 3);
      r.CodHis = static_cast<uint16_t>(1 + aleatorio() % 4);
      r.cDia = static_cast<int8_t>(1 + aleatorio() % 28);
      r.cStatus = aleatorio() % 20 == 0 ? kEntryDeleted : kEntryLive;
      std::string texto = "Pagamento NF " + std::to_string(r.Documento);
      if (ano.fornecedor) texto += " Fornecedor " + std::to_string(aleatorio() % 50);
      r.Complemento = posicaoTexto;
      textos << texto << '\r';
      posicaoTexto += static_cast<int32_t>(texto.size() + 1);
      if (ano.centros > 0 && p % 3 == 0) {
        r.Gerencial = posicaoLinha;
        const int64_t primeira = r.Valor.int64 / 3;
        const int64_t valores[2] = {primeira, r.Valor.int64 - primeira};
        for (int i = 0; i < 2; ++i, ++posicaoLinha) {
          const REGLAN_GER linha{CURRENCY{valores[i]}, static_cast<uint32_t>(p),
                                 2 + static_cast<int32_t>(aleatorio() % ano.centros), r.Debito};
          const REGQTD_GER quantidade{CURRENCY{10000 * (1 + i)}};
          escreve(linhas, linha);
          escreve(quantidades, quantidade);
          passo(rateia, {mes, p, i, linha.ContaGerencial, linha.ContaContabil, linha.Valor.int64,
                         quantidade.Quantidade.int64});
        }
      }
      escreve(lancamentos, r);
      const CQXData data = CQXData::FromMesAno(CQXMesAno(mes), r.cDia);
      sqlite3_bind_text(insere, 11, texto.c_str(), static_cast<int>(texto.size()),
                        SQLITE_TRANSIENT);
      passo(insere, {mes, p, data.Value(), r.Documento, r.CodHis, r.Debito, r.Credito,
                     r.Valor.int64, r.Filial, r.cStatus});
    }
  }
  ExecutaSql(ano.sql, "COMMIT");
  sqlite3_finalize(insere);
  sqlite3_finalize(rateia);
  ExecutaSql(ano.sql,
             "CREATE INDEX lancamentos_data ON lancamentos (data);"
             "CREATE INDEX lancamentos_debito ON lancamentos (debito, data);"
             "CREATE INDEX lancamentos_credito ON lancamentos (credito, data); ANALYZE;");
}

}  // namespace qx::bench
