#include "lancamento/buscas/filtro_texto.h"

#include <array>
#include <cstdint>

namespace {

// Accented letters of the code page and their base letters.
constexpr std::string_view kAcentuadas =
    "\xC0\xC1\xC2\xC3\xC4\xC5\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF\xD1\xD2\xD3\xD4\xD5\xD6"
    "\xD9\xDA\xDB\xDC\xDD"
    "\xE0\xE1\xE2\xE3\xE4\xE5\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF\xF1\xF2\xF3\xF4\xF5\xF6"
    "\xF9\xFA\xFB\xFC\xFD\xFF";
constexpr std::string_view kBases =
    "AAAAAACEEEEIIIINOOOOOUUUUY"
    "aaaaaaceeeeiiiinooooouuuuyy";
static_assert(kAcentuadas.size() == kBases.size());

constexpr uint8_t Dobra(uint8_t c) {
  for (size_t i = 0; i < kAcentuadas.size(); ++i) {
    if (static_cast<uint8_t>(kAcentuadas[i]) == c) return static_cast<uint8_t>(kBases[i]);
  }
  return c;
}

// Lower case of the code page's upper-case letters that are left after
// folding (A..Z, Š, Œ, Ž, Ÿ, Æ, Ð, Ø, Þ).
constexpr uint8_t Minuscula(uint8_t c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
  if (c == 0x8A || c == 0x8C || c == 0x8E) return c + 0x10;
  if (c == 0x9F) return 0xFF;
  return c;
}

// Folding, then lower-casing: Ÿ has no base letter, so it becomes ÿ, apart
// from a ÿ of the text, which folds to y.
constexpr std::array<char, 256> MontaTabela() {
  std::array<char, 256> tabela{};
  for (int c = 0; c < 256; ++c) {
    tabela[c] = static_cast<char>(Minuscula(Dobra(static_cast<uint8_t>(c))));
  }
  return tabela;
}

constexpr std::array<char, 256> kTabela = MontaTabela();

}  // namespace

namespace qx {

char DobraCaractere(char c) { return kTabela[static_cast<uint8_t>(c)]; }

std::string DobraTexto(std::string_view texto) {
  std::string dobrado(texto);
  DobraTexto(dobrado.data(), dobrado.size());
  return dobrado;
}

void DobraTexto(char* texto, size_t tamanho) {
  for (size_t i = 0; i < tamanho; ++i) texto[i] = DobraCaractere(texto[i]);
}

}  // namespace qx
