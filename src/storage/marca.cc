// Marks: mark n of a folder is held by whoever has its mark file open without
// sharing. Others wait in steps of 10 ms and give up after 50 seconds. The
// file keeps what its holder writes in it (the holder of mark 7 keeps the
// intent of its operation there) until the holder empties it.
#include <string>

#include "platform/clock.h"
#include "platform/path.h"
#include "storage/arq_status.h"
#include "storage/qx_arq_ex.h"

namespace {

constexpr uint64_t kEsperaMaximaMs = 50000;
constexpr uint32_t kPausaMs = 10;

}  // namespace

int CQXArqEx::Marca(const char* pasta, int numero, int /*reservado1*/, int /*reservado2*/) {
  if (m_pMarca) return ARQ_MARCA_INDISPONIVEL;
  if (pasta == nullptr || *pasta == '\0' || numero < 0 || numero > 255) {
    return ARQ_PARAMETRO_INVALIDO;
  }
  const std::string caminho = qx::JoinPath(pasta, qx::NomeArquivoMarca(numero));
  const uint64_t inicio = GetTickCount64();
  auto marca = std::make_unique<CFile>();
  for (;;) {
    CFileException erro;
    if (marca->Open(caminho.c_str(),
                    CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite |
                        CFile::shareExclusive,
                    &erro)) {
      m_pMarca = std::move(marca);
      return ARQ_OK;
    }
    if (GetTickCount64() - inicio >= kEsperaMaximaMs) {
      return erro.m_cause == CFileException::accessDenied ? ARQ_ACESSO_NEGADO
                                                          : CodigoMarcaOcupada(numero);
    }
    Sleep(kPausaMs);
  }
}

void CQXArqEx::Desmarca() { m_pMarca.reset(); }

namespace qx {

std::string NomeArquivoMarca(int numero) { return "XXMARCA" + std::to_string(numero) + ".dat"; }

}  // namespace qx
