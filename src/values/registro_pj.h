#pragma once
// The identifiers of Brazilian registrations: CNPJ and CPF with their check
// digits, the states (UF) with their IBGE codes, and the IBGE code of a
// municipality, whose first two digits name its state.

#include <string>
#include <string_view>

namespace qx {

// The digits of a CNPJ or CPF as people write them ("12.345.678/0001-95"):
// dots, slashes, dashes and blanks dropped; "" when anything else is there.
std::string DigitosDocumento(std::string_view texto);
// 14 digits whose two check digits agree (not all one digit repeated).
bool CnpjValido(std::string_view digitos);
// 11 digits whose two check digits agree (not all one digit repeated).
bool CpfValido(std::string_view digitos);
// The IBGE code of the state ("SP" 35), or 0 for no state.
int CodigoUf(std::string_view uf);
// 7 digits whose first two are the code of the state uf.
bool MunicipioDaUf(std::string_view codigo, std::string_view uf);
// Only the digits 0-9, at least one.
bool SoDigitos(std::string_view texto);

}  // namespace qx

namespace qx {

// The description of a signatory's qualification code of the bookkeeping
// file ("900" Contador/Contabilista), Latin-1; "" for a code not in the table.
std::string_view QualificacaoAssinante(std::string_view codigo);
// The qualification of the accountant, who signs every file.
inline constexpr std::string_view kQualificacaoContador = "900";
// The qualification of a company signing with its own certificate (a CNPJ).
inline constexpr std::string_view kQualificacaoPessoaJuridica = "001";

}  // namespace qx
