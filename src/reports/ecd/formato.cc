#include "reports/ecd/formato.h"

#include <charconv>

#include "values/registro_pj.h"

namespace qx::ecd {
namespace {

// The ASCII likeness of Windows-1252's 0x80-0x9F, a blank where there is none.
constexpr std::string_view kSemelhantes = "E ,f\".++^%S<O Z  ''\"\"---~Ts>o zY";
static_assert(kSemelhantes.size() == 32);

void Digitos(uint64_t valor, int largura, std::string* destino) {
  char texto[24];
  const auto fim = std::to_chars(texto, texto + sizeof texto, valor).ptr;
  for (int n = static_cast<int>(fim - texto); n < largura; ++n) destino->push_back('0');
  destino->append(texto, fim);
}

}  // namespace

std::string Data(CQXData data) {
  if (data.IsEmpty()) return {};
  const CivilDate d = data.Split();
  std::string texto;
  Digitos(static_cast<uint64_t>(d.day), 2, &texto);
  Digitos(static_cast<uint64_t>(d.month), 2, &texto);
  Digitos(static_cast<uint64_t>(d.year), 4, &texto);
  return texto;
}

std::string Valor(int64_t valor) {
  const uint64_t tamanho =
      valor < 0 ? uint64_t{0} - static_cast<uint64_t>(valor) : static_cast<uint64_t>(valor);
  std::string texto;
  Digitos(tamanho / 10000, 1, &texto);
  texto.push_back(',');
  const uint64_t fracao = tamanho % 10000;
  if (fracao % 100 == 0) {
    Digitos(fracao / 100, 2, &texto);
  } else {
    Digitos(fracao, 4, &texto);
  }
  return texto;
}

void ParaLatin1(std::string_view cp1252, std::string* destino) {
  for (const char c : cp1252) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == '|' || byte < 0x20 || byte == 0x7F) {
      destino->push_back(' ');
    } else if (byte >= 0x80 && byte < 0xA0) {
      destino->push_back(kSemelhantes[byte - 0x80]);
    } else {
      destino->push_back(c);
    }
  }
}

std::optional<CQXData> LeData(std::string_view texto) {
  if (texto.size() != 8 || !SoDigitos(texto)) return std::nullopt;
  const auto numero = [&](size_t de, size_t n) {
    int v = 0;
    for (size_t i = de; i < de + n; ++i) v = v * 10 + (texto[i] - '0');
    return v;
  };
  const int dia = numero(0, 2), mes = numero(2, 2), ano = numero(4, 4);
  const CQXData data = CQXData::Make(dia, mes, ano);
  if (data.IsEmpty() || data.Day() != dia || data.Month() != mes || data.Year() != ano) {
    return std::nullopt;
  }
  return data;
}

int64_t Soma(int64_t a, int64_t b) {
  int64_t soma = 0;
  if (!__builtin_add_overflow(a, b, &soma)) return soma;
  return b < 0 ? INT64_MIN : INT64_MAX;
}

std::optional<uint64_t> LeNumero(std::string_view texto) {
  uint64_t numero = 0;
  const auto [fim, erro] = std::from_chars(texto.data(), texto.data() + texto.size(), numero);
  if (!SoDigitos(texto) || erro != std::errc() || fim != texto.data() + texto.size()) {
    return std::nullopt;
  }
  return numero;
}

std::optional<int64_t> LeValor(std::string_view texto, int decimais) {
  const size_t virgula = texto.find(',');
  const std::string_view inteiro = texto.substr(0, virgula);
  const std::string_view fracao =
      virgula == std::string_view::npos ? std::string_view() : texto.substr(virgula + 1);
  if (!SoDigitos(inteiro) || inteiro.size() > 18 ||
      (virgula != std::string_view::npos &&
       (!SoDigitos(fracao) || fracao.size() > static_cast<size_t>(decimais)))) {
    return std::nullopt;
  }
  int64_t valor = 0;
  std::from_chars(inteiro.data(), inteiro.data() + inteiro.size(), valor);
  int64_t partes = 0;
  for (size_t i = 0; i < 4; ++i) partes = partes * 10 + (i < fracao.size() ? fracao[i] - '0' : 0);
  if (__builtin_mul_overflow(valor, 10000, &valor) ||
      __builtin_add_overflow(valor, partes, &valor)) {
    return std::nullopt;
  }
  return valor;
}

std::string Latin1ParaUtf8(std::string_view latin1) {
  std::string utf8;
  for (const char c : latin1) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      utf8.push_back(c);
    } else {
      utf8.push_back(static_cast<char>(0xC0 | (byte >> 6)));
      utf8.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
    }
  }
  return utf8;
}

}  // namespace qx::ecd
