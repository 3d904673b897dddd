// A table of cells under named columns: the one model behind the aligned
// table for people, --csv and --json.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "common/celula.h"

namespace qx::cli {

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
  // RFC 4180: a heading line, then one line per row, CRLF at each end; a field
  // with a comma, a quote or a line end in double quotes.
  std::string Csv() const;
  void EscreveCsv(std::FILE* saida) const { std::fputs(Csv().c_str(), saida); }

 private:
  std::vector<std::string> colunas_;
  std::vector<std::vector<Celula>> linhas_;
};

// A field of a CSV line, quoted when it must be.
std::string CampoCsv(const std::string& texto);

}  // namespace qx::cli
