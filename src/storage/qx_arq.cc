#include "storage/qx_arq.h"

#include <algorithm>

#include "diagnostics/error_log.h"
#include "storage/file_access.h"
#include "storage/record_open.h"
#include "storage/retry_budgets.h"

namespace {

constexpr char kUnidade[] = "FuncoesArq";
constexpr qx::PerfilAbertura kPerfil{kUnidade, qx::kAbreQXarq, 0};

}  // namespace

int CQXarq::Abre(const char* caminho, char modo, uint32_t tamanhoRegistro, bool criar) {
  if (IsOpen()) Fecha();
  EsqueceBuffer();
  if (tamanhoRegistro == 0 || tamanhoRegistro > ARQ_TAMANHO_REGISTRO_MAXIMO) {
    m_lTamanhoRegistro = 0;
    return ARQ_PARAMETRO_INVALIDO;
  }
  m_lTamanhoRegistro = static_cast<int32_t>(tamanhoRegistro);
  const int status =
      qx::AbreOuCria(*this, caminho, modo, tamanhoRegistro, criar, kPerfil, m_szNomeArquivo);
  if (status != ARQ_OK) return status;
  m_lTamanhoBuffer = 65536 / m_lTamanhoRegistro * m_lTamanhoRegistro;
  // Only bytes that a fill has read (or zeroed) are ever copied out of it.
  m_pBuffer = std::make_unique_for_overwrite<char[]>(static_cast<size_t>(m_lTamanhoBuffer));
  return ARQ_OK;
}

int CQXarq::Grava(const void* registro, uint32_t* indPos, uint32_t tamanho) {
  if (registro == nullptr || indPos == nullptr || !IsOpen()) return ARQ_NADA_FEITO;
  if (tamanho == 0) return ARQ_PARAMETRO_INVALIDO;
  uint64_t posicao = uint64_t{*indPos} * static_cast<uint32_t>(m_lTamanhoRegistro);
  const HRESULT hr = ValidaPosicaoGravacao(*indPos, tamanho);
  if (hr != S_OK) {
    QXGravaLogHresult(nullptr, "CQXarq::Grava", kUnidade, __LINE__, "hr",
                      "ValidaPosicaoGravacao(*IndPos, tamanho)", hr);
    if (FAILED(hr)) return hr & 0xFFFF;
  }
  return Escreve(posicao, tamanho, registro, tamanho, indPos);
}

int CQXarq::Anexa(const void* registros, uint32_t quantidade, uint32_t* primeira) {
  if (registros == nullptr || primeira == nullptr || !IsOpen()) return ARQ_NADA_FEITO;
  const auto tamanhoRegistro = static_cast<uint32_t>(m_lTamanhoRegistro);
  uint32_t tamanho = 0;
  if (quantidade == 0 || __builtin_mul_overflow(quantidade, tamanhoRegistro, &tamanho)) {
    return ARQ_PARAMETRO_INVALIDO;
  }
  return Escreve(0, tamanhoRegistro, registros, tamanho, primeira);
}

int CQXarq::Escreve(uint64_t posicao, uint32_t medida, const void* bytes, uint32_t tamanho,
                    uint32_t* indPos) {
  const auto tamanhoRegistro = static_cast<uint32_t>(m_lTamanhoRegistro);
  const bool anexa = posicao == 0;
  const int status = qx::ComOrcamento(qx::kGravaQXarq, [&] {
    if (anexa) posicao = qx::FimParaAnexar(*this, tamanhoRegistro, medida);
    qx::EscreveInteiro(*this, posicao, bytes, tamanho);
    AtualizaBuffer(posicao, bytes, tamanho);
    *indPos = static_cast<uint32_t>(posicao / tamanhoRegistro);
    return ARQ_OK;
  });
  // A failed write may have cut the file back below what the buffer holds.
  if (status != ARQ_OK) EsqueceBuffer();
  return status;
}

int CQXarq::GravaZero(const void* bytes, uint32_t tamanho) {
  if (bytes == nullptr || !IsOpen()) return ARQ_NADA_FEITO;
  const int status = qx::ComOrcamento(qx::kGravaQXarq, [&] {
    qx::EscreveInteiro(*this, 0, bytes, tamanho);
    AtualizaBuffer(0, bytes, tamanho);
    return ARQ_OK;
  });
  if (status != ARQ_OK) EsqueceBuffer();
  return status;
}

int CQXarq::LeDoArquivo(int64_t posicao, void* destino) {
  if (destino == nullptr || !m_pBuffer) return ARQ_NADA_FEITO;
  return qx::ComOrcamento(qx::kLeQXarq, [&] {
    if (posicao + m_lTamanhoRegistro > static_cast<int64_t>(GetLength())) return ARQ_FIM_DE_ARQUIVO;
    EncheBuffer(posicao);
    if (m_lLidosBuffer < m_lTamanhoRegistro) return ARQ_FIM_DE_ARQUIVO;
    std::memcpy(destino, m_pBuffer.get(), static_cast<size_t>(m_lTamanhoRegistro));
    return ARQ_OK;
  });
}

int CQXarq::LeBytes(int32_t posicao, int32_t tamanho, void* destino, int32_t* lidos) {
  int32_t ignorado = 0;
  if (lidos == nullptr) lidos = &ignorado;
  *lidos = 0;
  if (destino == nullptr) return ARQ_NADA_FEITO;
  const char* bytes = nullptr;
  const int status = VeBytes(posicao, tamanho, &bytes, lidos);
  if (bytes != nullptr) std::memcpy(destino, bytes, static_cast<size_t>(tamanho));
  return status;
}

int CQXarq::VeBytes(int32_t posicao, int32_t tamanho, const char** bytes, int32_t* lidos) {
  *bytes = nullptr;
  *lidos = 0;
  if (!m_pBuffer) return ARQ_NADA_FEITO;
  if (tamanho <= 0 || tamanho > m_lTamanhoRegistro) return ARQ_PARAMETRO_INVALIDO;
  const int64_t inicio = static_cast<uint32_t>(posicao);
  if (inicio >= m_lInicioBuffer && inicio + tamanho <= m_lInicioBuffer + m_lLidosBuffer) {
    *bytes = m_pBuffer.get() + (inicio - m_lInicioBuffer);
    *lidos = tamanho;
    return ARQ_OK;
  }
  return qx::ComOrcamento(qx::kLeQXarq, [&] {
    if (inicio >= static_cast<int64_t>(GetLength())) return ARQ_FIM_DE_ARQUIVO;
    EncheBuffer(inicio);
    *bytes = m_pBuffer.get();
    *lidos = std::min(m_lLidosBuffer, tamanho);
    return m_lLidosBuffer >= tamanho ? ARQ_OK : ARQ_FIM_DE_ARQUIVO;
  });
}

int CQXarq::LeSequencial(uint32_t tamanho, void* destino) {
  if (destino == nullptr || !IsOpen()) return ARQ_NADA_FEITO;
  return qx::ComOrcamento(
      qx::kLeQXarq, [&] { return Read(destino, tamanho) < tamanho ? ARQ_FIM_DE_ARQUIVO : ARQ_OK; });
}

int CQXarq::Posiciona(char modo, int32_t posicao, uint32_t* tamanho) {
  return qx::PosicionaArquivo(*this, modo, posicao, tamanho);
}

int CQXarq::Fecha() {
  EsqueceBuffer();
  m_pBuffer.reset();
  m_lTamanhoBuffer = 0;
  return IsOpen() ? qx::FechaArquivo(*this) : ARQ_NADA_FEITO;
}

void CQXarq::EncheBuffer(int64_t posicao) {
  EsqueceBuffer();
  Seek(posicao, begin);
  const uint32_t lidos = Read(m_pBuffer.get(), static_cast<uint32_t>(m_lTamanhoBuffer));
  std::memset(m_pBuffer.get() + lidos, 0, static_cast<size_t>(m_lTamanhoBuffer) - lidos);
  m_lInicioBuffer = posicao;
  m_lLidosBuffer = static_cast<int32_t>(lidos);
}

void CQXarq::EsqueceBuffer() {
  m_lInicioBuffer = -1;
  m_lLidosBuffer = 0;
}

void CQXarq::AtualizaBuffer(uint64_t posicao, const void* bytes, uint32_t tamanho) {
  const int64_t inicio = std::max<int64_t>(static_cast<int64_t>(posicao), m_lInicioBuffer);
  const int64_t fim =
      std::min<int64_t>(static_cast<int64_t>(posicao + tamanho), m_lInicioBuffer + m_lLidosBuffer);
  if (m_lInicioBuffer < 0 || inicio >= fim) return;
  std::memcpy(m_pBuffer.get() + (inicio - m_lInicioBuffer),
              static_cast<const char*>(bytes) + (inicio - static_cast<int64_t>(posicao)),
              static_cast<size_t>(fim - inicio));
}
