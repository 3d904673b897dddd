// The text of an entry as document management describes it: a standard
// history text with marks that take the entry's complement and account names.
//
//   "#C"  the complement text
//   "#D"  the name of the debit account
//   "#K"  the name of the credit account
//
// A history text without "#C" is followed by the complement, after one blank.
#pragma once

#include <string>
#include <string_view>

namespace qx {

inline constexpr std::string_view kMarcaComplemento = "#C";
inline constexpr std::string_view kMarcaContaDebito = "#D";
inline constexpr std::string_view kMarcaContaCredito = "#K";

// Which account names a history text uses.
inline constexpr int kHistoricoUsaDebito = 1;
inline constexpr int kHistoricoUsaCredito = 2;
int ContasDoHistorico(std::string_view historico);

// The history text with its marks replaced and the complement placed, without
// trailing blanks or line ends.
std::string ComporHistorico(std::string_view historico, std::string_view complemento,
                            std::string_view contaDebito, std::string_view contaCredito);

}  // namespace qx
