// CQXArqEx: the buffered record file. Same format and codes as CQXarq, plus
// deferred and automatic opening, larger retry budgets, a 32 KiB read buffer
// trusted only while no object of the process has written the file (and for at
// most 60 seconds), controlled creation under a process-wide lock, and marks.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "storage/base_arquivo.h"
#include "storage/qx_arq_marca_enum.h"

namespace qx {

// The name of mark n's file in its folder: "XXMARCA<n>.dat".
std::string NomeArquivoMarca(int numero);

}  // namespace qx

class CQXArqEx : public CBaseArquivo, public IQXArqMarcaEnum {
 public:
  static constexpr int32_t kTamanhoBufferPadrao = 32768;

  CQXArqEx() = default;
  ~CQXArqEx() override;

  // Records the file (path, mode 'C', 'G' or 'L', record size, create flag) and
  // opens it at once when `abrirAgora` is set or the object had no buffer yet;
  // otherwise the first operation that needs the file opens it. Aiming the
  // object at another path closes the previous file and drops the buffer; bad
  // arguments leave it aimed at no file.
  virtual int Abre(const char* caminho, char modo, uint32_t tamanhoRegistro, bool criar,
                   bool abrirAgora);
  // Closes the file and keeps the buffer; 0 also when nothing was open.
  virtual int Fecha();

  // Writes one record at *plPosicao (0: append; the record's number comes
  // back), appending and failing part way as CQXarq::Grava does.
  int Grava(const void* registro, uint32_t* plPosicao);
  int Grava(const void* registro, uint32_t* plPosicao, uint32_t lTamanhoDoRegistro);
  // Writes the bytes at offset 0.
  int GravaZero(const void* bytes, uint32_t tamanho);
  // Reads one record through the buffer; a record the file holds only in part is
  // ARQ_FIM_DE_ARQUIVO.
  int Le(uint32_t registro, void* destino);
  int Le(uint32_t registro, void* destino, uint32_t tamanho);
  // Length / S, less the header when `somenteDados` is set; 0 when the file
  // cannot be opened.
  uint32_t QuantidadeRegistros(bool somenteDados);
  // The same count, or the status of the open or of the length's read that failed.
  int ContaRegistros(bool somenteDados, uint32_t* quantidade);
  uint32_t GetTamanhoRegistro() const { return m_lTamanhoRegistro; }
  // Whether controlled creation lists created files in "QXCTLARQ.dat".
  void SetUsaArquivoControle(bool usa) { m_bUsaControle = usa; }

  // Takes mark `numero` (0..255) of the folder: 0 when this object now holds
  // it, else a status (the mark table's code when it stays busy for 50 s).
  // The last two arguments are not used.
  int Marca(const char* pasta, int numero, int reservado1 = 0, int reservado2 = 0);
  // Releases the held mark; nothing happens when none is held.
  void Desmarca();
  // The held mark's file, which keeps what the holder writes in it; null
  // when no mark is held.
  CFile* ArquivoDaMarca() { return m_pMarca.get(); }

 private:
  int AbreAgora();
  int AbreSeFechado() { return IsOpen() ? 0 : AbreAgora(); }
  int CriaControlado();
  int LeTamanho(uint64_t* tamanho);
  bool BufferValido();
  void Invalida();
  void DescartaBuffer();
  // Reads the buffer full from `posicao` (throws CFileException*).
  void EncheBuffer(uint64_t posicao, uint32_t tamanhoMinimo);

  std::unique_ptr<char[]> m_pBuffer;
  int32_t m_lTamanhoBuffer = 0;
  int64_t m_lInicioBuffer = 0;
  int32_t m_lLidosBuffer = -1;  // -1: nothing to trust
  uint32_t m_lTamanhoRegistro = 0;
  bool m_bUsaControle = true;
  uint32_t m_ulHoraLeitura = 0;
  std::string m_sCaminho;
  char m_cModo = 0;
  bool m_bCria = false;
  std::unique_ptr<CFile> m_pMarca;
  uint32_t m_ulVersaoVista = 0;
  uint64_t m_ullChave = 0;
};
