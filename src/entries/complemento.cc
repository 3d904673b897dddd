// The complement text of the current entry: the setter, and its append to the
// month's complement heap when the entry is saved.
#include <algorithm>
#include <cstring>
#include <string>

#include "entries/arquivo_mes.h"
#include "entries/gravacao.h"
#include "entries/lancamento_base.h"
#include "platform/bstr.h"

namespace {

// Bytes of the client's text that are kept, and the longest text stored as
// it is; a longer one keeps its first kComplementMaxStored bytes and a CR.
constexpr size_t kBytesAceitos = 511;
constexpr size_t kTextoMaximo = qx::kComplementReadSize;

}  // namespace

HRESULT CLancamentoBase::SetComplemento(BSTR Complemento) {
  const std::string texto = qx::BstrToCp1252(Complemento);
  // An embedded NUL ends the text, as it ends the stored one.
  size_t tamanho = std::min(std::strlen(texto.c_str()), kBytesAceitos);
  char* destino = m_lancamento.szComplemento;
  std::memset(destino, 0, sizeof m_lancamento.szComplemento);
  m_lancamento.ulComplemento = 0;
  if (tamanho > kTextoMaximo) {
    tamanho = qx::kComplementMaxStored;
    destino[tamanho] = qx::kComplementEnd;
  }
  std::memcpy(destino, texto.data(), tamanho);
  return S_OK;
}

namespace qx {

int GravaComplemento(const std::string& pasta, CQXData data, const char* texto, uint32_t* posicao) {
  *posicao = 0;
  const size_t tamanho = strnlen(texto, kBytesAceitos);
  if (tamanho == 0) return ARQ_OK;
  // The heap is byte-addressed: opened with 1-byte records, a missing heap is
  // made with the one-byte zero record of a month's creation.
  CQXarq heap;
  if (int status =
          AbreArquivoMes(heap, pasta, kPrefixoComplementos, data.MesAno().Value(), 'G', 1)) {
    return status;
  }
  uint32_t comprimento = 0;
  int status = heap.Posiciona('F', 0, &comprimento);
  // Offset 0 means "no complement": an emptied heap gets its zero byte back.
  if (status == ARQ_OK && comprimento == 0) {
    status = heap.GravaZero(&kComplementZeroByte, 1);
    comprimento = 1;
  }
  if (status == ARQ_OK) {
    // The zero byte after the text keeps a reader from running into the next
    // text when this one has no carriage return.
    char bytes[kBytesAceitos + 1] = {};
    std::memcpy(bytes, texto, tamanho);
    uint32_t anexo = 0;
    status = heap.Grava(bytes, &anexo, static_cast<uint32_t>(tamanho + 1));
  }
  const int fechamento = heap.Fecha();
  if (status == ARQ_OK) status = fechamento;
  if (status == ARQ_OK) *posicao = comprimento;
  return status;
}

}  // namespace qx
