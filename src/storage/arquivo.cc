#include "storage/arquivo.h"

#include <algorithm>

#include "storage/file_access.h"
#include "storage/record_open.h"
#include "storage/retry_budgets.h"

namespace {

constexpr uint32_t kPedaco = 65536;
// The folder of a file made by controlled creation must be shorter than 200 characters.
constexpr qx::PerfilAbertura kPerfil{"Arquivo", qx::kAbreArquivo, 200};

}  // namespace

int CArquivo::Abre(const char* caminho, char modo, uint32_t tamanhoRegistro, bool criar) {
  if (IsOpen()) Fecha();
  if (tamanhoRegistro > ARQ_TAMANHO_REGISTRO_MAXIMO) return ARQ_PARAMETRO_INVALIDO;
  return qx::AbreOuCria(*this, caminho, modo, tamanhoRegistro, criar, kPerfil, m_szNomeArquivo);
}

int CArquivo::Fecha() { return IsOpen() ? qx::FechaArquivo(*this) : ARQ_OK; }

int CArquivo::GravaZero(const void* bytes, uint32_t tamanho) {
  if (bytes == nullptr || !IsOpen()) return ARQ_NADA_FEITO;
  return GravaEm(bytes, tamanho, false);
}

int CArquivo::GravaBytes(const void* bytes, uint32_t tamanho, char onde) {
  if (bytes == nullptr || (onde != 'I' && onde != 'F')) return ARQ_PARAMETRO_INVALIDO;
  if (!IsOpen()) return ARQ_NADA_FEITO;
  return GravaEm(bytes, tamanho, onde == 'F');
}

int CArquivo::GravaEm(const void* bytes, uint32_t tamanho, bool noFim) {
  const char* dados = static_cast<const char*>(bytes);
  return qx::ComOrcamento(qx::kGravaQXarq, [&] {
    const uint64_t inicio = noFim ? GetLength() : 0;
    for (uint32_t feito = 0; feito < tamanho;) {
      const uint32_t pedaco = std::min(kPedaco, tamanho - feito);
      qx::EscreveInteiro(*this, inicio + feito, dados + feito, pedaco);
      feito += pedaco;
    }
    return ARQ_OK;
  });
}

int CArquivo::LeZero(void* destino, uint32_t tamanho) {
  if (destino == nullptr || !IsOpen()) return ARQ_NADA_FEITO;
  char* dados = static_cast<char*>(destino);
  return qx::ComOrcamento(qx::kLeZeroArquivo, [&] {
    SeekToBegin();
    for (uint32_t feito = 0; feito < tamanho;) {
      const uint32_t lidos = Read(dados + feito, std::min(kPedaco, tamanho - feito));
      if (lidos == 0) return ARQ_FIM_DE_ARQUIVO;
      feito += lidos;
    }
    return ARQ_OK;
  });
}

int CArquivo::Posiciona(char modo, int32_t posicao, uint32_t* tamanho) {
  return qx::PosicionaArquivo(*this, modo, posicao, tamanho);
}
