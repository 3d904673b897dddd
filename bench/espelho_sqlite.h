// The peer of a save in SQLite: the rows one save of the server writes,
// written one transaction per entry into a database set up as the suite's
// (the suite's own schema, WAL, synchronous=NORMAL): the entry with its
// complement and its split lines, and the change log the server writes for
// it: a record for the entry image, one for the complement text and one for
// each split line (log_alteracoes), and the event that files them
// (log_eventos, with its indexes and triggers as the suite has them).
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "outside/database/suite_database.h"

namespace qx::bench {

class EspelhoSqlite {
 public:
  struct Linha {
    int64_t valor;
    int32_t conta;
  };

  explicit EspelhoSqlite(const std::string& caminho) {
    std::shared_ptr<SuiteDatabase> suite;
    std::string mensagem;
    if (FAILED(SuiteDatabase::Open(caminho, SuiteDatabase::Mode::kCreate, &suite, &mensagem))) {
      return;
    }
    suite.reset();
    if (sqlite3_open(caminho.c_str(), &db_) != SQLITE_OK) return;
    sqlite3_busy_timeout(db_, 10000);
    Executa(
        "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;"
        "CREATE TABLE IF NOT EXISTS lancamento (id INTEGER PRIMARY KEY, documento, debito,"
        " credito, valor, filial, codhis, data, secao, complemento TEXT);"
        "CREATE TABLE IF NOT EXISTS gerencial (id INTEGER PRIMARY KEY, lancamento, valor,"
        " conta_gerencial, conta_contabil);");
    Prepara("INSERT INTO lancamento (documento, debito, credito, valor, filial, codhis, data,"
            " secao, complemento) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
            &lancamento_);
    Prepara("INSERT INTO gerencial (lancamento, valor, conta_gerencial, conta_contabil)"
            " VALUES (?, ?, ?, 4)",
            &linha_);
    Prepara("INSERT INTO log_alteracoes (sessao, chave, tipo, servico, dados, gravado_em,"
            " usuario, quantidade) VALUES (5 * 4096, ?, ?, 'I', ?, ?, 1, ?)",
            &log_);
    Prepara("INSERT INTO log_eventos (id, ultimo, tipo, sessao, usuario, mes, posicao,"
            " gravado_em, imagem_depois, complemento, linhas, quantidades, primeira_linha)"
            " VALUES (?, ?, 'I', 5 * 4096, 1, 1, ?, ?, ?, ?, ?, ?, ?)",
            &evento_);
  }
  ~EspelhoSqlite() {
    for (sqlite3_stmt* s : {lancamento_, linha_, log_, evento_}) sqlite3_finalize(s);
    sqlite3_close(db_);
  }
  EspelhoSqlite(const EspelhoSqlite&) = delete;
  EspelhoSqlite& operator=(const EspelhoSqlite&) = delete;

  bool Aberto() const { return db_ != nullptr && evento_ != nullptr; }

  // One entry in one transaction.
  bool Grava(int32_t documento, int32_t debito, int32_t credito, int64_t valor, uint32_t data,
             const std::string& complemento, const std::vector<Linha>& linhas) {
    if (sqlite3_exec(db_, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) != SQLITE_OK) return false;
    const int64_t campos[] = {documento, debito, credito, valor, 1, 1, data, 5};
    for (int i = 0; i < 8; ++i) sqlite3_bind_int64(lancamento_, i + 1, campos[i]);
    sqlite3_bind_text(lancamento_, 9, complemento.data(), static_cast<int>(complemento.size()),
                      SQLITE_STATIC);
    bool certo = Passo(lancamento_);
    const int64_t id = sqlite3_last_insert_rowid(db_);
    const std::string agora = Agora();
    const std::string imagem(46, '\x01');
    int64_t primeiro = 0, primeiraLinha = 0;
    certo = certo && Log(id, 24, imagem, agora, &primeiro) && Log(id, 8, complemento, agora);
    for (const Linha& l : linhas) {
      sqlite3_bind_int64(linha_, 1, id);
      sqlite3_bind_int64(linha_, 2, l.valor);
      sqlite3_bind_int(linha_, 3, l.conta);
      certo = certo && Passo(linha_);
      if (primeiraLinha == 0) primeiraLinha = sqlite3_last_insert_rowid(db_);
      certo = certo && Log(sqlite3_last_insert_rowid(db_), 27, std::string(20, '\x02'), agora,
                           nullptr, l.valor);
    }
    const std::string linhasEvento(20 * linhas.size(), '\x02');
    const std::string quantidades(8 * linhas.size(), '\x03');
    sqlite3_bind_int64(evento_, 1, primeiro);
    sqlite3_bind_int64(evento_, 2, sqlite3_last_insert_rowid(db_));
    sqlite3_bind_int64(evento_, 3, id);
    sqlite3_bind_text(evento_, 4, agora.data(), static_cast<int>(agora.size()), SQLITE_STATIC);
    sqlite3_bind_blob(evento_, 5, imagem.data(), static_cast<int>(imagem.size()), SQLITE_STATIC);
    sqlite3_bind_blob(evento_, 6, complemento.data(), static_cast<int>(complemento.size()),
                      SQLITE_STATIC);
    sqlite3_bind_blob(evento_, 7, linhasEvento.data(), static_cast<int>(linhasEvento.size()),
                      SQLITE_STATIC);
    sqlite3_bind_blob(evento_, 8, quantidades.data(), static_cast<int>(quantidades.size()),
                      SQLITE_STATIC);
    sqlite3_bind_int64(evento_, 9, primeiraLinha);
    certo = certo && Passo(evento_);
    return sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK && certo;
  }

 private:
  void Executa(const char* sql) { sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }
  void Prepara(const char* sql, sqlite3_stmt** s) { sqlite3_prepare_v2(db_, sql, -1, s, nullptr); }
  static bool Passo(sqlite3_stmt* s) {
    const bool certo = sqlite3_step(s) == SQLITE_DONE;
    sqlite3_reset(s);
    return certo;
  }
  // A change-log record; its id in *id when asked.
  bool Log(int64_t chave, int tipo, const std::string& dados, const std::string& agora,
           int64_t* id = nullptr, int64_t quantidade = 0) {
    sqlite3_bind_int64(log_, 1, chave);
    sqlite3_bind_int(log_, 2, tipo);
    sqlite3_bind_blob(log_, 3, dados.data(), static_cast<int>(dados.size()), SQLITE_STATIC);
    sqlite3_bind_text(log_, 4, agora.data(), static_cast<int>(agora.size()), SQLITE_STATIC);
    if (tipo == 27) {
      sqlite3_bind_int64(log_, 5, quantidade);
    } else {
      sqlite3_bind_null(log_, 5);
    }
    const bool certo = Passo(log_);
    if (id != nullptr) *id = sqlite3_last_insert_rowid(db_);
    return certo;
  }
  // The moment of a change-log row, as the suite's log writes it.
  static std::string Agora() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    gmtime_r(&t, &tm);
    char texto[32];
    std::strftime(texto, sizeof texto, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return texto;
  }

  sqlite3* db_ = nullptr;
  sqlite3_stmt* lancamento_ = nullptr;
  sqlite3_stmt* linha_ = nullptr;
  sqlite3_stmt* log_ = nullptr;
  sqlite3_stmt* evento_ = nullptr;
};

}  // namespace qx::bench
