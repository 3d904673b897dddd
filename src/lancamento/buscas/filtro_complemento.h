// The complement test of the searches: whether an entry's complement text,
// read from its month's CNLH, contains the filter's text, both compared in
// their folded form (lancamento/buscas/filtro_texto.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "lancamento/buscas/filtro_lancamento.h"
#include "storage/qx_arq.h"

namespace qx {

// Record size with which a search opens a CNLH: the bytes one read takes.
inline constexpr uint32_t kTamanhoLeituraComplemento = 500;

// The complement text at byte `posicao` of an open CNLH (record size at
// least kTamanhoLeituraComplemento), as a reader keeps it: up to and
// including the first carriage return, up to a zero byte, at most 499 bytes.
// Position 0 or less is the empty text. The length goes to *tamanho and the
// text to texto, zero-terminated. Returns 0, or the read's status: end of
// file for an offset at or past the heap's end (a text cut short by the end
// keeps the bytes read before it).
int LeTextoComplemento(CQXarq& heap, int32_t posicao, char (&texto)[512], size_t* tamanho);

class ComplementoFiltro {
 public:
  // The filter's text as the client gave it; folded once here.
  explicit ComplementoFiltro(std::string_view filtro);

  bool Vazio() const { return m_tamanho == 0; }

  // Whether the complement at `posicao` of the open CNLH contains the
  // filter's text (always, for an empty filter, without reading). Returns 0,
  // or the read status that must end the search.
  int Contem(CQXarq& heap, int32_t posicao, bool* contem) const;

 private:
  char m_texto[kTamanhoComplementoFiltro + 1] = {};
  size_t m_tamanho = 0;
};

}  // namespace qx
