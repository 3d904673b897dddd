#pragma once
// What a subcommand prints: tables of typed cells, shown as aligned columns
// with Brazilian amounts and dates, or with --json as an array of objects
// (amounts as numbers, dates as "yyyy-mm-dd", texts in UTF-8).

#include <cstdint>
#include <string>
#include <vector>

#include "values/currency.h"
#include "values/qx_data.h"

namespace qxcn {

// A text cell holds Windows-1252 bytes, as the service gives them.
struct Texto {
  std::string bytes;
};

// One cell: a text, a whole number, an amount or a date.
struct Celula {
  enum class Tipo { kTexto, kNumero, kValor, kData };
  Celula(Texto t) : tipo(Tipo::kTexto), texto(std::move(t.bytes)) {}
  Celula(int64_t n) : tipo(Tipo::kNumero), numero(n) {}
  Celula(CURRENCY v) : tipo(Tipo::kValor), numero(v.int64) {}
  Celula(CQXData d) : tipo(Tipo::kData), numero(d.Value()) {}

  Tipo tipo;
  std::string texto;
  int64_t numero = 0;  // the number, the amount's ten-thousandths or the day number
};

class Tabela {
 public:
  // Column names: the JSON keys, and in upper case the table's heading.
  explicit Tabela(std::vector<std::string> colunas) : colunas_(std::move(colunas)) {}

  void Linha(std::vector<Celula> celulas) { linhas_.push_back(std::move(celulas)); }
  bool Vazia() const { return linhas_.empty(); }
  size_t Tamanho() const { return linhas_.size(); }

  // Aligned columns (numbers and amounts to the right) on standard output.
  void MostraTexto() const;
  // The rows as a JSON array of objects.
  std::string Json() const;

 private:
  std::vector<std::string> colunas_;
  std::vector<std::vector<Celula>> linhas_;
};

// One JSON document, or one titled table, per call; --json picks the form.
class Saida {
 public:
  explicit Saida(bool json) : json_(json) {}
  bool EmJson() const { return json_; }

  // A titled table ("" for none). In JSON the tables of a run form one
  // object keyed by their keys.
  void Mostra(const std::string& chave, const std::string& titulo, const Tabela& tabela);
  // A message for people; nothing in JSON.
  void Aviso(const std::string& texto) const;
  // Writes the JSON object of the run; call once at the end.
  void Termina() const;

 private:
  bool json_;
  std::vector<std::pair<std::string, std::string>> partes_;
};

}  // namespace qxcn
