// A table of cells under named columns: the one model behind the aligned
// table for people, --csv and --json.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "common/celula.h"

namespace qx::cli {

// The two CSVs: for programs (RFC 4180: ',' between fields, ISO dates,
// amounts 1234.56) and for a spreadsheet set to Brazil (';' between fields,
// dates 15/03/2026, amounts 1234,56, UTF-8 with a byte-order mark), which
// Excel and LibreOffice open with numbers as numbers. In both, a text that a
// spreadsheet would take for a formula (it starts with = + - @, a tab or a
// carriage return) is kept a text by an apostrophe before it.
enum class FormaCsv { kProgramas, kPlanilha };

// What a CSV of that form starts with: the byte-order mark of the spreadsheet's.
const char* InicioCsv(FormaCsv forma);

class Tabela {
 public:
  // Column names: the JSON keys and CSV headings, and in upper case the
  // headings people read.
  explicit Tabela(std::vector<std::string> colunas) : colunas_(std::move(colunas)) {}

  void Linha(std::vector<Celula> celulas) { linhas_.push_back(std::move(celulas)); }
  bool Vazia() const { return linhas_.empty(); }
  size_t Tamanho() const { return linhas_.size(); }
  const std::vector<std::string>& Colunas() const { return colunas_; }
  const std::vector<std::vector<Celula>>& Linhas() const { return linhas_; }

  // Aligned columns under their headings.
  void EscreveAlinhada(std::FILE* saida) const;
  // A heading line, then one line per row, CRLF at each end; a field with
  // the separator, a quote or a line end in double quotes. Without InicioCsv.
  std::string Csv(FormaCsv forma = FormaCsv::kProgramas) const;
  void EscreveCsv(std::FILE* saida, FormaCsv forma) const {
    std::fputs(Csv(forma).c_str(), saida);
  }

 private:
  std::vector<std::string> colunas_;
  std::vector<std::vector<Celula>> linhas_;
};

// A cell as a field of a CSV line of that form: its text, kept from being a
// formula, quoted when it must be.
std::string CampoCsv(const Celula& celula, FormaCsv forma);

}  // namespace qx::cli
