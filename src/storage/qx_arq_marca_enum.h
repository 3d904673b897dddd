// The mark table: the status code that each mark number gives when it stays busy.
#pragma once

namespace qx {

// The mark that serialises saves and removals of entries in the company folder.
inline constexpr int kMarcaLancamentos = 7;

}  // namespace qx

class IQXArqMarcaEnum {
 public:
  // The code of a busy mark; numbers without a code of their own, and 0, give
  // ARQ_MARCA_INDISPONIVEL (17396).
  static int CodigoMarcaOcupada(int numero);

 protected:
  IQXArqMarcaEnum() = default;
  ~IQXArqMarcaEnum() = default;
};
