#pragma once
// The forms of the file's fields: dates ddmmaaaa, amounts with a decimal
// comma and no thousands separator, texts in ISO-8859-1 without the pipe that
// separates fields; and their readings, for the checker.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "values/qx_data.h"

namespace qx::ecd {

// "31122026"; "" for the empty date.
std::string Data(CQXData data);
// The amount's size: "1234,50"; all four decimals when it has more than two
// ("0,1234"), which the checker then refuses rather than the writer rounding.
std::string Valor(int64_t valor);
// 'D' for a debit balance (zero too), 'C' for a credit one.
inline char Indicador(int64_t saldo) { return saldo < 0 ? 'C' : 'D'; }
// Windows-1252 bytes as ISO-8859-1: the pipe, control characters and the
// bytes 0x80-0x9F (typographic quotes, dashes, the euro) become their ASCII
// likeness or a blank.
void ParaLatin1(std::string_view cp1252, std::string* destino);

// a + b held at the ends of 64 bits instead of wrapping: a file's absurd sums
// then differ from whatever they are compared with.
int64_t Soma(int64_t a, int64_t b);
inline void Acumula(int64_t& soma, int64_t valor) { soma = Soma(soma, valor); }

// Readings: nothing when the text is not in the form.
std::optional<CQXData> LeData(std::string_view texto);
// Digits, optionally a comma and at most `decimais` digits; no sign; nothing
// beyond what 64-bit ten-thousandths hold.
std::optional<int64_t> LeValor(std::string_view texto, int decimais = 2);
// Digits only, within 64 bits.
std::optional<uint64_t> LeNumero(std::string_view texto);
// ISO-8859-1 bytes as UTF-8, for the checker's messages.
std::string Latin1ParaUtf8(std::string_view latin1);

}  // namespace qx::ecd
