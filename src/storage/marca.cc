// Marks: mark n of a folder is held by whoever has its mark file open without
// sharing. Others wait in steps of 10 ms and give up after 50 seconds. The
// file keeps what its holder writes in it (the holder of mark 7 keeps the
// intent of its operation there) until the holder empties it.
#include <cinttypes>
#include <string>

#include "diagnostics/error_log.h"
#include "platform/clock.h"
#include "platform/path.h"
#include "storage/arq_status.h"
#include "storage/qx_arq_ex.h"

namespace {

constexpr uint64_t kEsperaMaximaMs = 50000;
constexpr uint32_t kPausaMs = 10;
constexpr char kUnidade[] = "Marca";

// The error log line of a mark not taken: which mark of which folder, and
// what to do about it.
void RelataMarcaPresa(const std::string& caminho, int numero, int status, bool negado) {
  const char* motivo =
      negado ? "o usu\xE1rio do servidor n\xE3o pode gravar o arquivo da marca"
             : "outro processo a segurou o tempo todo";
  const char* fazer =
      negado ? "d\xEA ao usu\xE1rio do servidor (ou ao grupo do escrit\xF3rio) a grava\xE7\xE3o "
               "da pasta e do arquivo"
             : "repita; se persistir, veja quem tem o arquivo aberto (fuser -v, como root) e "
               "confira com qxcheck se outros usu\xE1rios alcan\xE7" "am a pasta";
  QXGravaLogErro(nullptr, "CQXArqEx::Marca", kUnidade, __LINE__,
                 "Marca %d (%s) n\xE3o tomada em %" PRIu64 " s: %s\tStatus = %d\tHR = %#X\t"
                 "O que fazer: %s",
                 numero, caminho.c_str(), kEsperaMaximaMs / 1000, motivo, status,
                 static_cast<uint32_t>(QXHresultDoStatus(status)), fazer);
}

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
      const bool negado = erro.m_cause == CFileException::accessDenied;
      const int status = negado ? ARQ_ACESSO_NEGADO : CodigoMarcaOcupada(numero);
      RelataMarcaPresa(caminho, numero, status, negado);
      return status;
    }
    Sleep(kPausaMs);
  }
}

void CQXArqEx::Desmarca() { m_pMarca.reset(); }

namespace qx {

std::string NomeArquivoMarca(int numero) { return "XXMARCA" + std::to_string(numero) + ".dat"; }

}  // namespace qx
