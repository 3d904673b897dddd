// Steps shared by the record-file classes: mode letters, the path rule, the
// open under a retry budget, positioning and closing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/file.h"
#include "storage/retry.h"

namespace qx {

// Longest path the record files accept (their path fields hold 260 bytes).
inline constexpr size_t kCaminhoMaximo = 259;

// CFile flags of a mode letter: 'C' create or empty (0x1022), 'G' read and write
// an existing file (0x2022), 'L' read only, sharing everything (0x2040); 0 for
// any other letter.
unsigned FlagsDoModo(char modo);

// Whether the record files accept this path: at most 259 characters. A longer
// path is refused rather than cut, so that no other file is opened or created
// in its place; one longer than the 260-byte field is also reported to the
// suite's error reporter, naming the caller's source unit and line.
bool CaminhoAceito(std::string_view caminho, const char* unidade, int linha);

// The part of the path after its last separator (the whole path without one).
std::string NomeDoCaminho(std::string_view caminho);

// Opens `arquivo` with `flags` under the budget; a missing file gives
// ARQ_NAO_ENCONTRADO at once.
int AbreComOrcamento(CFile& arquivo, const char* caminho, unsigned flags,
                     const Orcamento& orcamento);

// Positioning: 'I' start, 'F' end (the length goes to *tamanho), 'P' the byte
// offset, which must lie before the end. *tamanho is set to 0 first; a closed
// file is ARQ_NADA_FEITO.
int PosicionaArquivo(CFile& arquivo, char modo, int32_t posicao, uint32_t* tamanho);

// Closes an open file: 0, or the status of the failure (the file is closed
// either way).
int FechaArquivo(CFile& arquivo);

// The byte offset an append of `tamanho` bytes to a file of records of
// `tamanhoRegistro` bytes goes to. A whole record goes to the end of the
// file's whole records, so that a partial record at its end (a write that
// stopped part way) is written over; bytes of another size (a text appended
// to a heap) go to the end of the file. Throws CFileException*.
uint64_t FimParaAnexar(CFile& arquivo, uint32_t tamanhoRegistro, uint32_t tamanho);

// Writes the bytes at byte `posicao`, once the intent of the thread's
// operation (intencao.h), when there is one, holds what they replace. A write that fails after part of its
// bytes (a disk that fills up) and leaves the file ending inside them is cut
// back to `posicao`, so that no partial record stays at the end; the failure
// is then thrown on (CFileException*).
void EscreveInteiro(CFile& arquivo, uint64_t posicao, const void* bytes, uint32_t tamanho);

}  // namespace qx
