#include "storage/base_arquivo.h"

#include <cinttypes>
#include <vector>

#include "diagnostics/code_description.h"
#include "diagnostics/error_log.h"
#include "storage/arq_status.h"
#include "storage/file_access.h"
#include "storage/retry.h"

namespace {

constexpr char kUnidade[] = "BaseArquivo";
constexpr char kFuncao[] = "CBaseArquivo::ValidaPosicaoGravacao";

}  // namespace

HRESULT CBaseArquivo::ValidaPosicaoGravacao(int64_t posicao, int64_t tamanhoRegistro) {
  if (m_bSemCabecalho) tamanhoRegistro = 1;
  if (posicao < 0) {
    const HRESULT hr = E_QXARQ_POSICAO_NEGATIVA;
    QXGravaLogErro(
        nullptr, kFuncao, kUnidade, __LINE__,
        "hr = %d\tDescri\xE7\xE3o = %s\tArquivo = %s\tPosi\xE7\xE3o Grava\xE7\xE3o = %" PRId64, hr,
        QXDescricaoHresult(hr).c_str(), GetFileName().c_str(), posicao);
    return hr;
  }
  if (tamanhoRegistro <= 0) return QXHresultDoStatus(ARQ_PARAMETRO_INVALIDO);
  // Position 0 appends: no length makes it wrong.
  if (posicao == 0) return S_OK;
  int64_t registros = 0;
  try {
    registros = static_cast<int64_t>(GetLength()) / tamanhoRegistro;
    if (registros == 0 && posicao == 1) {
      if (tamanhoRegistro > ARQ_TAMANHO_REGISTRO_MAXIMO) {
        return QXHresultDoStatus(ARQ_PARAMETRO_INVALIDO);
      }
      const std::vector<char> zeros(static_cast<size_t>(tamanhoRegistro));
      qx::EscreveInteiro(*this, 0, zeros.data(), static_cast<uint32_t>(tamanhoRegistro));
      return S_OK;
    }
  } catch (CFileException* erro) {
    const int status = qx::StatusDaCausa(erro->m_cause);
    erro->Delete();
    return QXHresultDoStatus(status);
  }
  if (posicao <= registros) return S_OK;
  const HRESULT hr = E_QXARQ_POSICAO_ALEM_DO_FIM;
  QXGravaLogErro(nullptr, kFuncao, kUnidade, __LINE__,
                 "hr = %d\tDescri\xE7\xE3o = %s\tArquivo = %s\tQtdRegistros = %" PRId64
                 "\tPosi\xE7\xE3o Grava\xE7\xE3o = %" PRId64,
                 hr, QXDescricaoHresult(hr).c_str(), GetFileName().c_str(), registros, posicao);
  return hr;
}
