#include "storage/qx_arq_ex.h"

#include <vector>

#include "platform/codepage.h"
#include "storage/buffer_versions.h"
#include "storage/control_file.h"
#include "storage/file_access.h"
#include "storage/retry_budgets.h"

namespace {

constexpr char kUnidade[] = "QXArqEx";

}  // namespace

CQXArqEx::~CQXArqEx() {
  Fecha();
  Desmarca();
}

int CQXArqEx::Abre(const char* caminho, char modo, uint32_t tamanhoRegistro, bool criar,
                   bool abrirAgora) {
  const std::string novo = caminho != nullptr ? caminho : "";
  const bool outroArquivo = !qx::Cp1252EqualNoCase(novo, m_sCaminho);
  if (outroArquivo) Fecha();
  // Bad arguments leave the object aimed at no file, so that no later operation
  // reaches the file it had before.
  int recusa = ARQ_OK;
  if (!qx::CaminhoAceito(novo, kUnidade, __LINE__)) {
    recusa = ARQ_CAMINHO_INVALIDO;
  } else if (novo.empty() || qx::FlagsDoModo(modo) == 0 || tamanhoRegistro == 0 ||
             tamanhoRegistro > ARQ_TAMANHO_REGISTRO_MAXIMO) {
    recusa = ARQ_PARAMETRO_INVALIDO;
  }
  if (recusa != ARQ_OK) {
    Fecha();
    DescartaBuffer();
    m_sCaminho.clear();
    return recusa;
  }
  if (m_pBuffer && outroArquivo) DescartaBuffer();
  m_sCaminho = novo;
  m_cModo = modo;
  m_lTamanhoRegistro = tamanhoRegistro;
  m_bCria = criar;
  if (!m_pBuffer) {
    m_pBuffer = std::make_unique<char[]>(kTamanhoBufferPadrao);
    m_lTamanhoBuffer = kTamanhoBufferPadrao;
    abrirAgora = true;
  }
  return abrirAgora ? AbreAgora() : ARQ_OK;
}

int CQXArqEx::AbreAgora() {
  if (IsOpen()) return ARQ_OK;
  if (m_sCaminho.empty()) return ARQ_PARAMETRO_INVALIDO;  // aimed at no file
  const unsigned flags = qx::FlagsDoModo(m_cModo);
  const char* caminho = m_sCaminho.c_str();
  int status = qx::AbreComOrcamento(*this, caminho, flags, qx::kAbreQXArqEx);
  if (status == ARQ_NAO_ENCONTRADO && m_bCria) {
    status = CriaControlado();
    if (status == ARQ_OK) status = qx::AbreComOrcamento(*this, caminho, flags, qx::kAbreQXArqEx);
  }
  if (status == ARQ_ACESSO_NEGADO && CFile::IsReadOnly(caminho)) status = ARQ_SOMENTE_LEITURA;
  if (status != ARQ_OK) return status;
  m_ullChave = qx::ChaveDoCaminho(m_sCaminho);
  qx::RegistraAbertura(m_ullChave);
  if (m_cModo != 'G' || m_bSemCabecalho) return ARQ_OK;
  uint64_t tamanho = 0;
  status = LeTamanho(&tamanho);
  if (status != ARQ_OK || tamanho != 0) return status;
  const std::vector<char> zeros(m_lTamanhoRegistro);
  return GravaZero(zeros.data(), m_lTamanhoRegistro);
}

int CQXArqEx::CriaControlado() {
  std::lock_guard<std::mutex> trava(qx::TravaDeCriacao());
  const char* caminho = m_sCaminho.c_str();
  if (!qx::ArquivoAusente(caminho)) return ARQ_OK;
  auto cria = [&] {
    return qx::CriaArquivoZerado(caminho, m_bSemCabecalho ? 0 : m_lTamanhoRegistro,
                                 qx::kAbreQXArqEx, qx::kGravaQXArqEx);
  };
  return m_bUsaControle ? qx::CriaSobControle(m_sCaminho, qx::kControleArqEx, cria) : cria();
}

int CQXArqEx::Fecha() {
  if (!IsOpen()) return ARQ_OK;
  qx::RegistraFechamento(m_ullChave);
  return qx::FechaArquivo(*this);
}

uint32_t CQXArqEx::QuantidadeRegistros(bool somenteDados) {
  uint32_t quantidade = 0;
  return ContaRegistros(somenteDados, &quantidade) == ARQ_OK ? quantidade : 0;
}

int CQXArqEx::ContaRegistros(bool somenteDados, uint32_t* quantidade) {
  uint64_t tamanho = 0;
  int status = AbreSeFechado();
  if (status == ARQ_OK) status = LeTamanho(&tamanho);
  if (status != ARQ_OK) return status;
  const auto registros = static_cast<uint32_t>(tamanho / m_lTamanhoRegistro);
  *quantidade = somenteDados && registros >= 1 ? registros - 1 : registros;
  return ARQ_OK;
}

int CQXArqEx::LeTamanho(uint64_t* tamanho) {
  return qx::ComOrcamento(qx::kLeQXArqEx, [&] {
    *tamanho = GetLength();
    return ARQ_OK;
  });
}

void CQXArqEx::DescartaBuffer() {
  if (m_pBuffer) Invalida();
  m_pBuffer.reset();
  m_lTamanhoBuffer = 0;
}
