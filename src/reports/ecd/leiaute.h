#pragma once
// The registers of leiaute 9 in the order the file gives them, with their
// level and, for those the checker reads, their fields: kind, whether
// required, exact size and the values allowed.

#include <cstdint>
#include <string_view>
#include <vector>

namespace qx::ecd {

enum class TipoCampo : uint8_t {
  kTexto,   // C: up to 255 characters, or exactly `tamanho`
  kNumero,  // N: digits, exactly `tamanho` when given
  kData,    // ddmmaaaa, a day that exists
  kValor,   // N with at most two decimals after a comma
  kOpcao,   // one of `opcoes`, separated by '/'
};

struct CampoLeiaute {
  std::string_view nome;
  TipoCampo tipo = TipoCampo::kTexto;
  bool obrigatorio = true;
  uint16_t tamanho = 0;
  std::string_view opcoes = {};
};

struct RegistroLeiaute {
  std::string_view nome;
  int nivel = 0;
  // Empty: a register the checker knows by place only (its fields are not read).
  std::vector<CampoLeiaute> campos = {};
};

// In the file's order.
const std::vector<RegistroLeiaute>& Leiaute();
// The register's place in Leiaute(), or -1 for a name leiaute 9 does not have.
int Posicao(std::string_view registro);

}  // namespace qx::ecd
