// Reading and writing of CQXArqEx, and the trust rules of its buffer.
#include <cinttypes>
#include <cstring>

#include "diagnostics/code_description.h"
#include "diagnostics/error_log.h"
#include "platform/clock.h"
#include "storage/buffer_versions.h"
#include "storage/file_access.h"
#include "storage/qx_arq_ex.h"
#include "storage/retry_budgets.h"

namespace {

constexpr char kUnidade[] = "QXArqEx";
// A buffer filled this many milliseconds ago or earlier is read again.
constexpr uint32_t kIdadeMaximaBuffer = 60001;

}  // namespace

int CQXArqEx::Le(uint32_t registro, void* destino) {
  return Le(registro, destino, m_lTamanhoRegistro);
}

int CQXArqEx::Le(uint32_t registro, void* destino, uint32_t tamanho) {
  Sleep(0);
  if (destino == nullptr) return ARQ_NADA_FEITO;
  if (tamanho == 0 || tamanho > ARQ_TAMANHO_REGISTRO_MAXIMO) return ARQ_PARAMETRO_INVALIDO;
  const uint64_t posicao = uint64_t{registro} * tamanho;
  if (BufferValido() && static_cast<int64_t>(posicao) >= m_lInicioBuffer &&
      static_cast<int64_t>(posicao + tamanho) <= m_lInicioBuffer + m_lLidosBuffer) {
    std::memcpy(destino, m_pBuffer.get() + (posicao - m_lInicioBuffer), tamanho);
    return ARQ_OK;
  }
  if (const int status = AbreSeFechado(); status != ARQ_OK) return status;
  return qx::ComOrcamento(qx::kLeQXArqEx, [&] {
    const uint64_t fim = SeekToEnd();
    if (posicao >= fim) {
      if (posicao > fim + tamanho) {
        QXGravaLogErro(
            nullptr, "CQXArqEx::Le", kUnidade, __LINE__,
            "hr = 0x%08X\tDescri\xE7\xE3o = %s\tArquivo = %s\tPosi\xE7\xE3o = %d\tRegistro = "
            "%d\tGetLength = %" PRId64,
            static_cast<unsigned>(E_QXARQ_FIM_DE_ARQUIVO),
            QXDescricaoHresult(E_QXARQ_FIM_DE_ARQUIVO).c_str(), m_sCaminho.c_str(),
            static_cast<int>(registro), static_cast<int>(tamanho), static_cast<int64_t>(fim));
      }
      return ARQ_FIM_DE_ARQUIVO;
    }
    EncheBuffer(posicao, tamanho);
    if (m_lLidosBuffer < static_cast<int32_t>(tamanho)) return ARQ_FIM_DE_ARQUIVO;
    std::memcpy(destino, m_pBuffer.get(), tamanho);
    return ARQ_OK;
  });
}

int CQXArqEx::Grava(const void* registro, uint32_t* plPosicao) {
  return Grava(registro, plPosicao, m_lTamanhoRegistro);
}

int CQXArqEx::Grava(const void* registro, uint32_t* plPosicao, uint32_t lTamanhoDoRegistro) {
  Sleep(0);
  if (registro == nullptr || plPosicao == nullptr) return ARQ_NADA_FEITO;
  if (const int status = AbreSeFechado(); status != ARQ_OK) return status;
  if (lTamanhoDoRegistro == 0) return ARQ_PARAMETRO_INVALIDO;
  uint64_t posicao = uint64_t{*plPosicao} * lTamanhoDoRegistro;
  const HRESULT hr = ValidaPosicaoGravacao(*plPosicao, lTamanhoDoRegistro);
  if (hr != S_OK) {
    QXGravaLogHresult(nullptr, "CQXArqEx::Grava", kUnidade, __LINE__, "hr",
                      "ValidaPosicaoGravacao(*plPosicao, lTamanhoDoRegistro)", hr);
    if (FAILED(hr)) return hr & 0xFFFF;
  }
  const bool anexa = posicao == 0;
  const int status = qx::ComOrcamento(qx::kGravaQXArqEx, [&] {
    if (anexa) posicao = qx::FimParaAnexar(*this, m_lTamanhoRegistro, lTamanhoDoRegistro);
    qx::EscreveInteiro(*this, posicao, registro, lTamanhoDoRegistro);
    *plPosicao = static_cast<uint32_t>(posicao / m_lTamanhoRegistro);
    return ARQ_OK;
  });
  Invalida();
  return status;
}

int CQXArqEx::GravaZero(const void* bytes, uint32_t tamanho) {
  if (bytes == nullptr) return ARQ_NADA_FEITO;
  if (const int status = AbreSeFechado(); status != ARQ_OK) return status;
  const int status = qx::ComOrcamento(qx::kGravaQXArqEx, [&] {
    qx::EscreveInteiro(*this, 0, bytes, tamanho);
    return ARQ_OK;
  });
  Invalida();
  return status;
}

bool CQXArqEx::BufferValido() {
  if (!m_pBuffer || m_lLidosBuffer < 0 || qx::BuffersSuspensos()) return false;
  if (!qx::ConfereVersao(m_ullChave, &m_ulVersaoVista)) return false;
  return GetTickCount() - m_ulHoraLeitura < kIdadeMaximaBuffer;
}

void CQXArqEx::EncheBuffer(uint64_t posicao, uint32_t tamanhoMinimo) {
  if (m_lTamanhoBuffer < static_cast<int32_t>(tamanhoMinimo)) {
    m_pBuffer = std::make_unique<char[]>(tamanhoMinimo);
    m_lTamanhoBuffer = static_cast<int32_t>(tamanhoMinimo);
  }
  m_lLidosBuffer = -1;
  const uint32_t versao = qx::VersaoAtual(m_ullChave);
  Seek(static_cast<int64_t>(posicao), begin);
  const uint32_t lidos = Read(m_pBuffer.get(), static_cast<uint32_t>(m_lTamanhoBuffer));
  m_lInicioBuffer = static_cast<int64_t>(posicao);
  m_lLidosBuffer = static_cast<int32_t>(lidos);
  m_ulHoraLeitura = GetTickCount();
  m_ulVersaoVista = versao;
  qx::RetomaBuffers(lidos);
}

void CQXArqEx::Invalida() {
  m_ulVersaoVista = qx::AvancaVersao(m_ullChave);
  m_lLidosBuffer = -1;
  qx::SuspendeBuffers();
  if (m_pBuffer) std::memset(m_pBuffer.get(), 0, static_cast<size_t>(m_lTamanhoBuffer));
}
