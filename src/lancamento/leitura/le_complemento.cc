// Reading a complement text from the month's heap: the bounded read that the
// entry reads share, and the interface read of one entry's text.
#include <cstring>
#include <string_view>

#include "contract/entry_messages.h"
#include "lancamento/lancamento_base.h"
#include "lancamento/leitura/leitura_complemento.h"
#include "lancamento/meses/arquivo_mes.h"
#include "lancamento/meses/arquivos_leitura.h"
#include "platform/bstr.h"

namespace {

// The bytes of a text at the start of what was read: up to and including the
// first carriage return, up to a zero byte, or kComplementMaxStored bytes.
size_t TamanhoDoTexto(const char* lidos) {
  const size_t ate = strnlen(lidos, qx::kComplementReadSize);
  if (const void* fim = std::memchr(lidos, qx::kComplementEnd, ate)) {
    return static_cast<size_t>(static_cast<const char*>(fim) - lidos) + 1;
  }
  return ate < qx::kComplementReadSize ? ate : qx::kComplementMaxStored;
}

}  // namespace

int CLancamentoBase::LeComplemento(CQXData data, uint32_t posicao, char* texto) {
  qx::ArquivosLeitura arquivos(m_strPastaEmpresa);
  return LeComplemento(arquivos, data, posicao, texto);
}

int CLancamentoBase::LeComplemento(qx::ArquivosLeitura& arquivos, CQXData data, uint32_t posicao,
                                   char* texto) {
  texto[0] = '\0';
  if (posicao == 0) return ARQ_OK;
  CQXarq* heap = nullptr;
  if (int status = arquivos.Complementos(data.MesAno().Value(), &heap)) return status;
  return qx::LeTextoComplemento(*heap, posicao, texto);
}

namespace qx {

int AbreComplementos(const std::string& pasta, CQXMesAno mes, CQXarq* heap) {
  return AbreArquivoMes(*heap, pasta, kPrefixoComplementos, mes.Value(), 'L', kComplementReadSize,
                        false);
}

int VeTextoComplemento(CQXarq& heap, uint32_t posicao, std::string_view* texto) {
  *texto = {};
  if (posicao == 0) return ARQ_OK;
  const char* lidos = nullptr;
  int32_t quantos = 0;
  int status =
      heap.VeBytes(static_cast<int32_t>(posicao), kComplementReadSize, &lidos, &quantos);
  // A text near the end of the heap gives fewer bytes; the rest reads as zeros.
  if (status == ARQ_FIM_DE_ARQUIVO && quantos > 0) status = ARQ_OK;
  if (status != ARQ_OK) return status;
  *texto = std::string_view(lidos, TamanhoDoTexto(lidos));
  return ARQ_OK;
}

int LeTextoComplemento(CQXarq& heap, uint32_t posicao, char* texto) {
  std::string_view visto;
  const int status = VeTextoComplemento(heap, posicao, &visto);
  visto.copy(texto, visto.size());
  texto[visto.size()] = '\0';
  return status;
}

}  // namespace qx

HRESULT CLancamentoBase::GetComplemento(BSTR* Complemento, uint16_t MesAno, int32_t Indlan) {
  if (Complemento == nullptr) return E_POINTER;
  *Complemento = nullptr;
  // The read's failure as it is: the bare message 1527 for a deleted entry.
  if (const HRESULT hr = Le(Indlan, MesAno)) {
    return hr == qx::HrMensagem(qx::kMensagemLancamentoExcluido) ? qx::kMensagemLancamentoExcluido
                                                                 : hr;
  }
  char texto[sizeof m_lancamento.szComplemento];
  if (int status = LeComplemento(m_lancamento.Data, m_lancamento.ulComplemento, texto)) {
    return status;
  }
  *Complemento = qx::BstrFromCp1252(texto);
  return *Complemento != nullptr ? S_OK : E_OUTOFMEMORY;
}
