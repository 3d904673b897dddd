// The complement text of the current entry: the setter, and its append to the
// month's complement heap when the entry is saved.
#include <cstring>

#include "lancamento/entrada_cliente.h"
#include "lancamento/gravacao/gravacao.h"
#include "lancamento/lancamento_base.h"
#include "platform/bstr.h"

namespace {

// Bytes of a complement text that a save keeps at most.
constexpr size_t kBytesAceitos = 511;

}  // namespace

HRESULT CLancamentoBase::SetComplemento(BSTR Complemento) {
  qx::DefineComplemento(qx::BstrToCp1252(Complemento), &m_lancamento);
  return S_OK;
}

namespace qx {

int GravaComplemento(CQXarq& heap, const char* texto, uint32_t* posicao) {
  *posicao = 0;
  const size_t tamanho = strnlen(texto, kBytesAceitos);
  if (tamanho == 0) return ARQ_OK;
  // The zero byte after the text keeps a reader from running into the next
  // text when this one has no carriage return. The heap is byte-addressed:
  // an append gives the text's offset.
  char bytes[kBytesAceitos + 1] = {};
  std::memcpy(bytes, texto, tamanho);
  uint32_t anexo = 0;
  if (int status = heap.Grava(bytes, &anexo, static_cast<uint32_t>(tamanho + 1))) return status;
  *posicao = anexo;
  return ARQ_OK;
}

}  // namespace qx
