// The open of CQXarq and CArquivo: checks, the open under its budget, and the
// controlled creation of a missing file.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/file.h"
#include "storage/retry.h"

namespace qx {

struct PerfilAbertura {
  const char* unidade;  // source unit named in reports
  Orcamento abertura;   // budget of every open
  size_t pastaMaxima;   // a created file's folder must be shorter (0: no limit)
};

// Opens `arquivo` with mode 'C', 'G' or 'L' and keeps the file name (without
// folder) in `nome`. A missing file is created, when `criar` is set and the
// record size is at least 1, by listing it in the folder's control file and
// writing a zeroed header of `tamanhoRegistro` bytes; a file listed there
// already is not created again (ARQ_NAO_ENCONTRADO).
int AbreOuCria(CFile& arquivo, const char* caminho, char modo, uint32_t tamanhoRegistro, bool criar,
               const PerfilAbertura& perfil, char (&nome)[260]);

}  // namespace qx
