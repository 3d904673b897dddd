#include "lancamento/buscas/filtro_complemento.h"

#include <algorithm>
#include <cstring>

#include "lancamento/buscas/filtro_texto.h"
#include "storage/arq_status.h"
#include "storage/records/entry_records.h"

namespace qx {

int LeTextoComplemento(CQXarq& heap, int32_t posicao, char (&texto)[512], size_t* tamanho) {
  *tamanho = 0;
  texto[0] = '\0';
  if (posicao <= 0) return ARQ_OK;
  char bytes[kTamanhoLeituraComplemento] = {};
  int32_t lidos = 0;
  const int status = heap.LeBytes(posicao, kTamanhoLeituraComplemento, bytes, &lidos);
  // A text near the end of the heap reads short; an offset past its end names
  // no text at all.
  if (status != ARQ_OK && (status != ARQ_FIM_DE_ARQUIVO || lidos == 0)) return status;
  size_t n = 0;
  while (n < kComplementMaxStored && bytes[n] != '\0') {
    if (bytes[n++] == kComplementEnd) break;
  }
  std::memcpy(texto, bytes, n);
  texto[n] = '\0';
  *tamanho = n;
  return ARQ_OK;
}

ComplementoFiltro::ComplementoFiltro(std::string_view filtro) {
  m_tamanho = std::min(filtro.size(), kTamanhoComplementoFiltro);
  // An embedded zero ends the text, as it would in the filter's field.
  m_tamanho = std::min(m_tamanho, filtro.substr(0, m_tamanho).find('\0'));
  std::memcpy(m_texto, filtro.data(), m_tamanho);
  DobraTexto(m_texto, m_tamanho);
}

int ComplementoFiltro::Contem(CQXarq& heap, int32_t posicao, bool* contem) const {
  *contem = true;
  if (Vazio()) return ARQ_OK;
  char texto[512];
  size_t tamanho = 0;
  if (int status = LeTextoComplemento(heap, posicao, texto, &tamanho)) return status;
  DobraTexto(texto, tamanho);
  *contem = std::string_view(texto, tamanho).find(std::string_view(m_texto, m_tamanho)) !=
            std::string_view::npos;
  return ARQ_OK;
}

}  // namespace qx
