// What a run prints on standard output, in the form --json, --csv or
// --planilha pick. For people, tables and messages print as they come. With
// --json the run prints one object at its end, keyed by the names given
// here; with --csv (or --planilha, the spreadsheet's CSV) each table prints
// as a CSV block (heading line, rows), blocks separated by an empty line.
// Messages for people and titles are left out of them.
#pragma once

#include <memory>
#include <string>

#include "common/celula.h"
#include "common/tabela.h"

namespace qx::cli {

enum class Formato { kPessoas, kJson, kCsv, kPlanilha };

class Saida {
 public:
  explicit Saida(Formato formato);
  ~Saida();
  Saida(const Saida&) = delete;
  Saida& operator=(const Saida&) = delete;

  Formato formato() const { return formato_; }
  bool ParaPessoas() const { return formato_ == Formato::kPessoas; }

  // A table: in JSON an array of objects under `chave`.
  void Mostra(const std::string& chave, const std::string& titulo, const Tabela& tabela);
  // One row that sums up (counts, totals): people read `texto`; JSON gets an
  // object under `chave`, CSV a block of one row.
  void Resumo(const std::string& chave, const Tabela& linha, const std::string& texto);
  // One value of the JSON object (nothing for people or CSV).
  void Campo(const std::string& chave, const Celula& valor);
  // A line for people only.
  void Aviso(const std::string& texto) const;
  // Writes the JSON object or the CSV blocks gathered so far, if any; once.
  void Termina();

 private:
  struct Documento;
  Formato formato_;
  std::unique_ptr<Documento> documento_;
  bool blocos_ = false;  // a CSV block printed already
};

}  // namespace qx::cli
