#include "storage/retry.h"

namespace qx {

int StatusDaCausa(int causa) {
  switch (causa) {
    case CFileException::badSeek:
      return ARQ_POSICIONAMENTO_INVALIDO;
    case CFileException::endOfFile:
      return ARQ_FIM_DE_ARQUIVO;
    case CFileException::hardIO:
      return ARQ_ERRO_DE_LEITURA_GRAVACAO;
    case CFileException::fileNotFound:
      return ARQ_NAO_ENCONTRADO;
    case CFileException::badPath:
      return ARQ_CAMINHO_INVALIDO;
    case CFileException::tooManyOpenFiles:
      return ARQ_MUITOS_ABERTOS;
    case CFileException::accessDenied:
      return ARQ_ACESSO_NEGADO;
    case CFileException::invalidFile:
      return ARQ_INVALIDO;
    case CFileException::directoryFull:
      return ARQ_DIRETORIO_CHEIO;
    case CFileException::sharingViolation:
      return ARQ_EM_USO;
    case CFileException::lockViolation:
      return ARQ_BLOQUEADO;
    case CFileException::diskFull:
      return ARQ_DISCO_CHEIO;
    default:
      return ARQ_ERRO_GERAL;
  }
}

}  // namespace qx
