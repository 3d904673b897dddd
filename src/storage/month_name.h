// Names of the month files: folder + prefix + month part + ".DAT", the month
// part being the two-digit month and the two-digit year of a month-year.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "values/qx_mes_ano.h"

namespace qx {

inline constexpr char kPrefixoLancamentos[] = "CNLC";   // entries, 50-byte records
inline constexpr char kPrefixoGerencial[] = "CNLG";     // managerial split lines, 20 bytes
inline constexpr char kPrefixoQuantidades[] = "CNLQ";   // managerial quantities, 8 bytes
inline constexpr char kPrefixoMoeda[] = "CNLM";         // foreign-currency amounts, 12 bytes
inline constexpr char kPrefixoComplementos[] = "CNLH";  // complement texts, byte heap

// "MMYY" of a month-year (1 = January 1848); 0 and values of 34441 or more
// give "0000".
std::string ParteMesArquivo(uint16_t mesAno);
// The month-year that a month part names, when ParteMesArquivo gives back the
// same four characters ("0000" names month-year 0); nullopt for anything else.
std::optional<CQXMesAno> MesDaParteArquivo(std::string_view parte);

// The folder is used as given (folders come with their trailing separator);
// one is added when a non-empty folder lacks it.
std::string NomeArquivoMes(const std::string& pasta, const char* prefixo, uint16_t mesAno);

}  // namespace qx
