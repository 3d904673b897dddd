// CQXarq: a file of fixed-length records. Record 0 is a zero header, data
// records count from 1, and a write at position 0 appends. Reads go through a
// read buffer of about 64 KiB, so a scan costs one memory copy per record.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>

#include "storage/arq_status.h"
#include "storage/base_arquivo.h"

class CQXarq : public CBaseArquivo {
 public:
  CQXarq() = default;
  ~CQXarq() override = default;

  // Opens the file with mode 'C', 'G' or 'L' and records of `tamanhoRegistro`
  // bytes (1 to 65536); a missing file is made by controlled creation when
  // `criar` is set. An object that is still open is closed first.
  int Abre(const char* caminho, char modo, uint32_t tamanhoRegistro, bool criar);
  // Writes `tamanho` bytes at record *indPos (0: append; the record's number
  // comes back in *indPos). A record of the file's size is appended after the
  // whole records, over a partial record that a stopped write left at the
  // end; a write that fails part way leaves no partial record behind.
  int Grava(const void* registro, uint32_t* indPos, uint32_t tamanho);
  // Appends `quantidade` records (of the file's size) in one write, after the
  // whole records as Grava appends one; the first one's number comes back in
  // *primeira. A write that fails part way leaves none of them behind.
  int Anexa(const void* registros, uint32_t quantidade, uint32_t* primeira);
  // Writes the bytes at offset 0 (the header record).
  int GravaZero(const void* bytes, uint32_t tamanho);
  // Reads record `registro` (S bytes). A record that the file holds only in part
  // is ARQ_FIM_DE_ARQUIVO.
  int Le(uint32_t registro, void* destino) {
    const int64_t posicao = int64_t{registro} * m_lTamanhoRegistro;
    if (posicao >= m_lInicioBuffer && destino != nullptr &&
        posicao + m_lTamanhoRegistro <= m_lInicioBuffer + m_lLidosBuffer) {
      std::memcpy(destino, m_pBuffer.get() + (posicao - m_lInicioBuffer), m_lTamanhoRegistro);
      return ARQ_OK;
    }
    return LeDoArquivo(posicao, destino);
  }
  // Reads `tamanho` bytes (at most S) at a byte offset. Fewer bytes before the
  // end of the file give ARQ_FIM_DE_ARQUIVO; the rest of *destino is then zero.
  // *lidos (when given) receives the bytes the file held there: 0 for an
  // offset at or past its end.
  int LeBytes(int32_t posicao, int32_t tamanho, void* destino, int32_t* lidos = nullptr);
  // The same bytes seen where the read buffer holds them, without a copy:
  // *bytes points at `tamanho` bytes (zeros past the file's end), or is null
  // when nothing was read. They stay valid until the next call on the file.
  int VeBytes(int32_t posicao, int32_t tamanho, const char** bytes, int32_t* lidos);
  // Reads `tamanho` bytes at the current position.
  int LeSequencial(uint32_t tamanho, void* destino);
  // Moves the position: 'I' start, 'F' end (*tamanho = length), 'P' offset.
  int Posiciona(char modo, int32_t posicao, uint32_t* tamanho);
  // Releases the buffer and closes: 0, 1 when nothing was open, or a status.
  int Fecha();

  // Bytes of the read buffer: S x floor(65536 / S); 0 while closed.
  int32_t GetTamanhoBuffer() const { return m_lTamanhoBuffer; }
  // The open file's name without its folder.
  const char* GetNomeArquivo() const { return m_szNomeArquivo; }

 private:
  int LeDoArquivo(int64_t posicao, void* destino);
  // Reads the buffer full from `posicao`; the rest of it is zeroed.
  void EncheBuffer(int64_t posicao);  // throws CFileException*
  void EsqueceBuffer();
  // Keeps the buffered copy of bytes just written in step with the file.
  void AtualizaBuffer(uint64_t posicao, const void* bytes, uint32_t tamanho);
  // Writes `tamanho` bytes at byte `posicao`, or appended where FimParaAnexar
  // puts `medida` bytes when `posicao` is 0; *indPos gets the record number.
  int Escreve(uint64_t posicao, uint32_t medida, const void* bytes, uint32_t tamanho,
              uint32_t* indPos);

  std::unique_ptr<char[]> m_pBuffer;
  int64_t m_lInicioBuffer = -1;  // file offset of the buffered bytes
  int32_t m_lLidosBuffer = 0;    // bytes the buffer holds from there
  int32_t m_lTamanhoBuffer = 0;
  int32_t m_lTamanhoRegistro = 0;
  char m_szNomeArquivo[260] = {};
};
