#pragma once
// Writes the file's lines (|REG|field|...|, CRLF) and counts them: in all, by
// block and by register, in the order registers first appear, as blocks 9
// and the closing registers of each block state them. Without a destination
// it only counts.

#include <cstdint>
#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qx::ecd {

class SaidaEcd {
 public:
  explicit SaidaEcd(std::ostream* destino) : destino_(destino) {}
  SaidaEcd(const SaidaEcd&) = delete;
  SaidaEcd& operator=(const SaidaEcd&) = delete;
  ~SaidaEcd() { Esvazia(); }

  // The register's name, then its fields as Windows-1252 texts.
  void Linha(std::initializer_list<std::string_view> campos);
  // Hands what is buffered to the destination.
  void Esvazia();

  uint64_t Linhas() const { return linhas_; }
  // The lines since the block's first register (its own letter or digit).
  uint64_t LinhasDoBloco() const { return linhasBloco_; }
  const std::vector<std::pair<std::string, uint64_t>>& Registros() const { return registros_; }

 private:
  std::ostream* destino_;
  std::string buffer_;
  uint64_t linhas_ = 0, linhasBloco_ = 0;
  char bloco_ = '\0';
  std::vector<std::pair<std::string, uint64_t>> registros_;
  size_t ultimo_ = 0;  // the register of the line before, looked up first
};

}  // namespace qx::ecd
