#include "outside/admin/table_copy.h"

#include <algorithm>
#include <functional>

#include "outside/database/outside_codes.h"
#include "outside/database/sql_statement.h"
#include "values/crc64.h"
#include "values/text_format.h"

namespace qx {
namespace {

constexpr size_t kLinhasPorPagina = 2000;

using Linha = std::vector<SqlValue>;

std::string Nome(const std::string& identificador) { return "\"" + identificador + "\""; }

std::string Lista(const std::vector<std::string>& nomes) {
  std::string lista;
  for (const std::string& nome : nomes) lista += (lista.empty() ? "" : ", ") + Nome(nome);
  return lista;
}

std::string Marcas(size_t quantas) {
  std::string marcas = "(";
  for (size_t i = 0; i < quantas; ++i) marcas += i == 0 ? "?" : ", ?";
  return marcas + ")";
}

// A value as the checksum takes it: its kind, then its bytes.
uint64_t Soma(const SqlValue& valor, uint64_t crc) {
  const char tipo = static_cast<char>(valor.type);
  crc = Crc64(std::string_view(&tipo, 1), crc);
  if (valor.type == SqlType::kInteger) return Crc64Bytes(&valor.integer, sizeof valor.integer, crc);
  if (valor.type == SqlType::kNull) return crc;
  const uint64_t tamanho = valor.bytes.size();
  return Crc64(valor.bytes, Crc64Bytes(&tamanho, sizeof tamanho, crc));
}

// Every row of the table in key order, a page at a time; a table without a
// key in one read, in the order of all its columns.
HRESULT LeTabela(SuiteDatabase& db, const TableShape& tabela,
                 const std::function<HRESULT(Linha&&)>& recebe) {
  const std::vector<std::string>& ordem = tabela.key.empty() ? tabela.columns : tabela.key;
  const std::string base = "SELECT " + Lista(tabela.columns) + " FROM " + Nome(tabela.name);
  const std::string fim = " ORDER BY " + Lista(ordem) +
                          (tabela.key.empty() ? "" : FormatText(" LIMIT %zu", kLinhasPorPagina));
  const std::string primeira = base + fim;
  const std::string seguinte =
      base + " WHERE (" + Lista(ordem) + ") > " + Marcas(ordem.size()) + fim;
  std::vector<SqlValue> chave;
  for (bool inicio = true;; inicio = false) {
    SqlStatement consulta(db, inicio ? primeira.c_str() : seguinte.c_str());
    for (size_t k = 0; k < chave.size(); ++k) consulta.BindValue(static_cast<int>(k + 1), chave[k]);
    size_t lidas = 0;
    bool linha = false;
    HRESULT hr;
    while (SUCCEEDED(hr = consulta.Step(&linha)) && linha) {
      Linha valores;
      for (int c = 0; c < consulta.Columns(); ++c) valores.push_back(consulta.Value(c));
      chave.clear();
      for (const std::string& coluna : ordem) {
        const size_t c = std::find(tabela.columns.begin(), tabela.columns.end(), coluna) -
                         tabela.columns.begin();
        chave.push_back(valores[c]);
      }
      ++lidas;
      hr = recebe(std::move(valores));
      if (FAILED(hr)) return hr;
    }
    if (FAILED(hr) || tabela.key.empty() || lidas < kLinhasPorPagina) return hr;
  }
}

HRESULT Resume(SuiteDatabase& db, const TableShape& tabela, ResumoTabela* resumo,
               const std::function<HRESULT(Linha&&)>& recebe) {
  *resumo = ResumoTabela{tabela.name, 0, 0};
  return LeTabela(db, tabela, [&](Linha&& valores) {
    ++resumo->linhas;
    for (const SqlValue& valor : valores) resumo->soma = Soma(valor, resumo->soma);
    return recebe(std::move(valores));
  });
}

// Inserts rows into a table, a page at a time.
class Insercao {
 public:
  Insercao(SuiteDatabase& db, const TableShape& tabela)
      : db_(db),
        inicio_("INSERT INTO " + Nome(tabela.name) + " (" + Lista(tabela.columns) + ")"),
        colunas_(static_cast<int>(tabela.columns.size())) {}

  HRESULT Recebe(Linha&& valores) {
    linhas_.push_back(std::move(valores));
    return linhas_.size() < kLinhasPorPagina ? S_OK : Grava();
  }

  HRESULT Grava() {
    const HRESULT hr =
        InsertRows(db_, inicio_, colunas_, linhas_.size(), [&](SqlStatement& s, int p, size_t k) {
          for (const SqlValue& valor : linhas_[k]) s.BindValue(p++, valor);
        });
    linhas_.clear();
    return hr;
  }

 private:
  SuiteDatabase& db_;
  std::string inicio_;
  int colunas_;
  std::vector<Linha> linhas_;
};

}  // namespace

HRESULT OrdemDeCopia(SuiteDatabase& db, std::vector<TableShape>* tabelas) {
  std::vector<TableShape> todas;
  const HRESULT hr = db.ListTables(&todas);
  if (FAILED(hr)) return hr;
  tabelas->clear();
  const auto posta = [&](const std::string& nome) {
    return std::any_of(tabelas->begin(), tabelas->end(),
                       [&](const TableShape& t) { return t.name == nome; });
  };
  while (!todas.empty()) {
    // The first (by name) whose referenced tables are in; with none such (a
    // cycle), the first of all.
    auto proxima = std::find_if(todas.begin(), todas.end(), [&](const TableShape& t) {
      return std::all_of(t.references.begin(), t.references.end(),
                         [&](const std::string& r) { return r == t.name || posta(r); });
    });
    if (proxima == todas.end()) proxima = todas.begin();
    tabelas->push_back(std::move(*proxima));
    todas.erase(proxima);
  }
  return S_OK;
}

HRESULT ResumeTabelas(SuiteDatabase& db, const std::vector<TableShape>& tabelas,
                      std::vector<ResumoTabela>* resumos) {
  return db.Read([&] {
    resumos->assign(tabelas.size(), ResumoTabela());
    HRESULT hr = S_OK;
    for (size_t t = 0; SUCCEEDED(hr) && t < tabelas.size(); ++t) {
      hr = Resume(db, tabelas[t], &(*resumos)[t], [](Linha&&) { return S_OK; });
    }
    return hr;
  });
}

HRESULT CopiaTabelas(SuiteDatabase& de, SuiteDatabase& para, const std::vector<TableShape>& tabelas,
                     std::vector<ResumoTabela>* resumos, std::string* message) {
  HRESULT gravacao = S_OK;  // a failure of `para`, else of `de`
  const auto grava = [&](HRESULT hr) {
    if (FAILED(hr)) gravacao = hr;
    return hr;
  };
  HRESULT hr = S_OK;
  for (auto t = tabelas.rbegin(); SUCCEEDED(hr) && t != tabelas.rend(); ++t) {
    hr = grava(para.Execute(("DELETE FROM " + Nome(t->name)).c_str()));
  }
  resumos->assign(tabelas.size(), ResumoTabela());
  for (size_t t = 0; SUCCEEDED(hr) && t < tabelas.size(); ++t) {
    Insercao insercao(para, tabelas[t]);
    hr = Resume(de, tabelas[t], &(*resumos)[t],
                [&](Linha&& valores) { return grava(insercao.Recebe(std::move(valores))); });
    if (SUCCEEDED(hr)) hr = grava(insercao.Grava());
  }
  if (SUCCEEDED(hr)) hr = grava(para.ContinueSequences());
  if (FAILED(hr)) *message = FAILED(gravacao) ? para.message() : de.message();
  return hr;
}

}  // namespace qx
