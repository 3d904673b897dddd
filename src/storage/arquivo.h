// CArquivo: the small record-file class without read buffer, used to create
// files and to write or read their leading bytes.
#pragma once

#include <cstdint>

#include "platform/file.h"

class CArquivo : public CFile {
 public:
  CArquivo() = default;
  ~CArquivo() override = default;

  // Opens with mode 'C', 'G' or 'L'. A missing file is made by controlled
  // creation (with a zeroed header of `tamanhoRegistro` bytes) only when `criar`
  // is set and the record size is at least 1. An open object is closed first.
  int Abre(const char* caminho, char modo, uint32_t tamanhoRegistro, bool criar);
  // Closes the file; 0 also when none was open, else the status of a failure.
  int Fecha();
  // Writes the bytes at offset 0.
  int GravaZero(const void* bytes, uint32_t tamanho);
  // Reads `tamanho` bytes from offset 0; fewer in the file is ARQ_FIM_DE_ARQUIVO.
  int LeZero(void* destino, uint32_t tamanho);
  // Writes the bytes at the start ('I') or the end ('F') of the file.
  int GravaBytes(const void* bytes, uint32_t tamanho, char onde);
  // Moves the position: 'I' start, 'F' end (*tamanho = length), 'P' offset.
  int Posiciona(char modo, int32_t posicao, uint32_t* tamanho);

  const char* GetNomeArquivo() const { return m_szNomeArquivo; }

 private:
  // Moves to the start or the end and writes the bytes in pieces of 64 KiB.
  int GravaEm(const void* bytes, uint32_t tamanho, bool noFim);

  char m_szNomeArquivo[260] = {};
};
