// The explanatory notes: an index of (month, key, text offset) records in
// "CNNTEXPL.DAT" and the texts, appended with their NUL, in "CNNTEXCP.DAT".
// A note's identifier is the position of its index record.
#include <cstring>
#include <string>

#include "lancamento/lancamento_base.h"
#include "platform/bstr.h"
#include "platform/path.h"
#include "storage/arq_status.h"
#include "storage/qx_arq.h"
#include "storage/qx_arq_ex.h"
#include "storage/records/note_records.h"

namespace {

std::string CaminhoIndice(const CLancamentoBase& objeto) {
  return qx::JoinPath(objeto.GetPastaEmpresa(), qx::kNoteIndexFileName);
}

std::string CaminhoTextos(const CLancamentoBase& objeto) {
  return qx::JoinPath(objeto.GetPastaEmpresa(), qx::kNoteTextFileName);
}

// Appends the text and its NUL at the end of the heap; its offset goes to
// *posicao. The heap's record size is the text's length, as the first writer
// fixes the length of its zero header.
int AcrescentaTexto(const std::string& caminho, const std::string& texto, uint32_t* posicao) {
  CQXarq heap;
  const auto tamanho = static_cast<uint32_t>(texto.size());
  if (int status = heap.Abre(caminho.c_str(), 'G', tamanho, true)) return status;
  int status = heap.Posiciona('F', 0, posicao);
  if (status == ARQ_OK) {
    uint32_t registro = 0;
    status = heap.Grava(texto.c_str(), &registro, tamanho + 1);
  }
  heap.Fecha();
  return status;
}

// The text at `posicao` of the heap: the bytes up to the first NUL, at most
// the longest note.
int LeTexto(const std::string& caminho, uint32_t posicao, std::string* texto) {
  CQXarq heap;
  if (int status = heap.Abre(caminho.c_str(), 'L', qx::kNoteReadSize, true)) return status;
  char bytes[qx::kNoteReadSize] = {};
  int status = heap.Posiciona('P', static_cast<int32_t>(posicao), nullptr);
  // The last text of the heap is shorter than a full read: the short read's
  // status says nothing about the text.
  if (status == ARQ_OK) heap.LeSequencial(qx::kNoteReadSize, bytes);
  heap.Fecha();
  if (status == ARQ_OK) texto->assign(bytes, strnlen(bytes, qx::kNoteMaxLength));
  return status;
}

}  // namespace

HRESULT CLancamentoBase::ExisteNotaExplicativa(uint16_t iMesAno, int32_t lChave,
                                               int32_t* lPosicaoNotaExplicativa) {
  if (lPosicaoNotaExplicativa == nullptr) return E_POINTER;
  *lPosicaoNotaExplicativa = 0;
  CQXArqEx indice;
  const std::string caminho = CaminhoIndice(*this);
  if (int status = indice.Abre(caminho.c_str(), 'L', qx::kNoteIndexRecordSize, true, true)) {
    return status;
  }
  qx::NoteIndexRecord registro;
  for (uint32_t p = 0; indice.Le(p, &registro) == ARQ_OK; ++p) {
    if (registro.iMesAno == iMesAno && registro.lChave == lChave) {
      *lPosicaoNotaExplicativa = static_cast<int32_t>(p);
      break;
    }
  }
  indice.Fecha();
  return S_OK;
}

HRESULT CLancamentoBase::LeNotaExplicativa(int32_t lPosicaoNotaExplicativa,
                                           BSTR* bsNotaExplicativa) {
  if (bsNotaExplicativa == nullptr) return E_POINTER;
  *bsNotaExplicativa = nullptr;
  CQXArqEx indice;
  const std::string caminho = CaminhoIndice(*this);
  if (int status = indice.Abre(caminho.c_str(), 'L', qx::kNoteIndexRecordSize, false, true)) {
    return status;
  }
  // A position the index does not hold has no text offset: its read's status
  // is the answer.
  qx::NoteIndexRecord registro;
  const int lido = indice.Le(static_cast<uint32_t>(lPosicaoNotaExplicativa), &registro);
  indice.Fecha();
  if (lido != ARQ_OK) return lido;

  std::string texto;
  if (int status = LeTexto(CaminhoTextos(*this), registro.lPosicaoTexto, &texto)) return status;
  *bsNotaExplicativa = qx::BstrFromCp1252(texto);
  return *bsNotaExplicativa != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT CLancamentoBase::GravaNotaExplicativa(uint16_t iMesAno, int32_t lChave,
                                              int32_t lPosicaoNotaExplicativa,
                                              BSTR bsNotaExplicativa) {
  std::string texto = qx::BstrToCp1252(bsNotaExplicativa);
  if (texto.size() > qx::kNoteMaxLength) texto.resize(qx::kNoteMaxLength);
  // Below 1 the index record is appended.
  uint32_t posicao =
      lPosicaoNotaExplicativa > 0 ? static_cast<uint32_t>(lPosicaoNotaExplicativa) : 0;
  // An empty new note has nothing to keep.
  if (texto.empty() && posicao == 0) return S_OK;

  qx::NoteIndexRecord registro{};
  if (!texto.empty()) {
    uint32_t offset = 0;
    if (int status = AcrescentaTexto(CaminhoTextos(*this), texto, &offset)) return status;
    registro.lChave = lChave;
    registro.lPosicaoTexto = offset;
    registro.iMesAno = iMesAno;
  }
  // An empty text for an existing position leaves the zero record: the note
  // is cleared.
  CQXArqEx indice;
  const std::string caminho = CaminhoIndice(*this);
  if (int status = indice.Abre(caminho.c_str(), 'G', qx::kNoteIndexRecordSize, true, true)) {
    return status;
  }
  const int status = indice.Grava(&registro, &posicao);
  indice.Fecha();
  return status;
}
