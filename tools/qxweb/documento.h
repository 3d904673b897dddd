#pragma once
// What a page shows, in the one model behind its three forms: HTML for
// people, the JSON twin (one object keyed by table name, each table an array
// of objects, with the keys of qxcn --json) and the CSV of each table.
// Pieces of HTML only people see (forms, charts, links) come in order
// between the tables.

#include <functional>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "common/tabela.h"
#include "reports/plano.h"

namespace qxweb {

using qx::cli::Celula;
using qx::cli::Tabela;

// The address a cell of a row links to; "" for none.
using Ligacao = std::function<std::string(const std::vector<Celula>& linha, size_t coluna)>;

struct Parte {
  enum class Tipo { kTabela, kResumo, kCampo, kHtml };
  Tipo tipo;
  std::string chave;   // the JSON key and the CSV's name
  std::string titulo;  // a heading for people
  Tabela tabela{{}};
  std::string texto;  // a summary as people read it, or the HTML (of a drawn table too)
  Celula valor = {};
  Ligacao ligacao = {};
};

class Documento {
 public:
  void Titulo(std::string titulo) { titulo_ = std::move(titulo); }
  // One step of the trail of links above the title, from the start page.
  void Trilha(std::string nome, std::string endereco) {
    trilha_.push_back({std::move(nome), std::move(endereco)});
  }

  void Mostra(std::string chave, std::string titulo, Tabela tabela, Ligacao ligacao = {});
  // A table people read drawn as `html` (a tree, say); its twins get the table.
  void MostraDesenhada(std::string chave, std::string titulo, Tabela tabela, std::string html);
  // One row that sums up: people read `texto`; JSON gets an object.
  void Resumo(std::string chave, Tabela linha, std::string texto);
  // One value of the JSON object.
  void Campo(std::string chave, Celula valor);
  // HTML for people only, escaped by whoever made it.
  void Html(std::string html);
  // The chart ('C' accounting, 'G' managerial) whose names people read
  // beside the account numbers of the tables.
  void Contas(char plano, std::shared_ptr<const qx::PlanoDeContas> contas);
  // The name of account `numero` in that column of the table (UTF-8); "" when
  // the column holds no account, the table names it already, or the chart
  // has no such account.
  std::string NomeDaConta(const Tabela& tabela, const std::string& coluna, int64_t numero) const;

  const std::string& titulo() const { return titulo_; }
  const std::vector<std::pair<std::string, std::string>>& trilha() const { return trilha_; }
  const std::vector<Parte>& partes() const { return partes_; }

  nlohmann::ordered_json Json() const;
  // The table or summary of that key, null when the page has none.
  const Tabela* Procura(const std::string& chave) const;

 private:
  std::string titulo_;
  std::vector<std::pair<std::string, std::string>> trilha_;
  std::vector<Parte> partes_;
  std::shared_ptr<const qx::PlanoDeContas> contabil_, gerencial_;
};

}  // namespace qxweb
