// The company's named import layouts in "CNFORIMP.DAT": lookup by name,
// reading, listing, saving and removal. Record-file statuses of the layout
// file come back in the failure form; those of "CNFORIMP.TMP" as they are.
#include <cstdint>
#include <cstring>
#include <string>

#include "contract/import_layout_record.h"
#include "lancamento/lancamento_base.h"
#include "platform/bstr.h"
#include "platform/file.h"
#include "platform/path.h"
#include "storage/arq_status.h"
#include "storage/arquivo.h"
#include "storage/qx_arq.h"

namespace {

using qx::kImportLayoutRecordSize;

constexpr size_t kTamanhoNome = sizeof(REGFORMATOIMPORT::cNomeFormatoImportacao);

// Whether a file that existed and vanished is made again with the default
// layout, or its status is handed back.
enum class Recria { Nao, Padrao };

REGFORMATOIMPORT FormatoPadrao() {
  REGFORMATOIMPORT padrao{};
  std::memcpy(padrao.cNomeFormatoImportacao, qx::kDefaultLayoutName,
              sizeof(qx::kDefaultLayoutName) - 1);
  std::memcpy(padrao.cSequenciaContabil, qx::kDefaultLayoutSequenciaContabil,
              sizeof(qx::kDefaultLayoutSequenciaContabil) - 1);
  std::memcpy(padrao.cSequenciaGerencial, qx::kDefaultLayoutSequenciaGerencial,
              sizeof(qx::kDefaultLayoutSequenciaGerencial) - 1);
  padrao.cDelimitador = qx::kDefaultLayoutDelimiter;
  return padrao;
}

// Makes the file with its zero record and the default layout at position 1.
int CriaComPadrao(const std::string& caminho) {
  CArquivo arquivo;
  if (int status = arquivo.Abre(caminho.c_str(), 'C', kImportLayoutRecordSize, false)) {
    return status;
  }
  const REGFORMATOIMPORT zero{};
  const REGFORMATOIMPORT padrao = FormatoPadrao();
  int status = arquivo.GravaZero(&zero, kImportLayoutRecordSize);
  if (status == ARQ_OK) status = arquivo.GravaBytes(&padrao, kImportLayoutRecordSize, 'F');
  const int fecha = arquivo.Fecha();
  return status != ARQ_OK ? status : fecha;
}

// Opens the layout file, creating a missing one; a raw record-file status.
int AbreFormatos(CQXarq& arq, const std::string& caminho, char modo, Recria recria) {
  const int status = arq.Abre(caminho.c_str(), modo, kImportLayoutRecordSize, true);
  if (status != ARQ_NAO_ENCONTRADO || recria == Recria::Nao) return status;
  if (int criacao = CriaComPadrao(caminho)) return criacao;
  return arq.Abre(caminho.c_str(), modo, kImportLayoutRecordSize, true);
}

// The number of layouts of an open file: its length in records, less the zero one.
int ContaFormatos(CQXarq& arq, uint32_t* quantidade) {
  uint32_t tamanho = 0;
  if (int status = arq.Posiciona('F', 0, &tamanho)) return status;
  const uint32_t registros = tamanho / kImportLayoutRecordSize;
  *quantidade = registros > 0 ? registros - 1 : 0;
  return ARQ_OK;
}

// Names compare with ASCII letters in upper case; other bytes stay as they are.
std::string NomeComparavel(const char* nome, size_t tamanho) {
  std::string texto(nome, strnlen(nome, tamanho));
  for (char& c : texto) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return texto;
}

// Closes the file and gives the first failure: `status`, else the close's.
int FechaCom(CQXarq& arq, int status) {
  const int fecha = arq.Fecha();
  return status != ARQ_OK ? status : fecha;
}

HRESULT Falha(int status) { return status == ARQ_OK ? S_OK : QXHresultDoStatus(status); }

std::string CaminhoFormatos(const CLancamentoBase& objeto, const char* nome) {
  return qx::JoinPath(objeto.GetPastaEmpresa(), nome);
}

// Copies every layout but the one at `excluida` into the open temporary file.
// The layout file's statuses come back in the failure form, the temporary's raw.
HRESULT CopiaFormatos(CQXarq& origem, CQXarq& destino, uint32_t excluida) {
  uint32_t quantidade = 0;
  if (int status = ContaFormatos(origem, &quantidade)) return Falha(status);
  REGFORMATOIMPORT registro;
  for (uint32_t p = 1; p <= quantidade; ++p) {
    if (p == excluida) continue;
    if (int status = origem.Le(p, &registro)) return Falha(status);
    uint32_t posicao = 0;
    if (int status = destino.Grava(&registro, &posicao, kImportLayoutRecordSize)) return status;
  }
  return S_OK;
}

}  // namespace

HRESULT CLancamentoBase::ExisteFormatoImportacao(BSTR bsNomeFormatoImportacao, uint16_t* iPosicao) {
  if (iPosicao == nullptr) return E_POINTER;
  *iPosicao = 0;
  const std::string texto = qx::BstrToCp1252(bsNomeFormatoImportacao);
  const std::string procurado = NomeComparavel(texto.c_str(), kTamanhoNome);

  CQXarq arq;
  const std::string caminho = CaminhoFormatos(*this, qx::kImportLayoutFileName);
  if (int status = AbreFormatos(arq, caminho, 'L', Recria::Nao)) return Falha(status);
  uint32_t quantidade = 0;
  int status = ContaFormatos(arq, &quantidade);
  uint32_t achada = 0;
  REGFORMATOIMPORT registro;
  for (uint32_t p = 1; status == ARQ_OK && achada == 0 && p <= quantidade; ++p) {
    status = arq.Le(p, &registro);
    if (status == ARQ_OK &&
        NomeComparavel(registro.cNomeFormatoImportacao, kTamanhoNome) == procurado) {
      achada = p;
    }
  }
  if (int fim = FechaCom(arq, status)) return Falha(fim);
  // Positions beyond the 16-bit answer cannot be named by the caller.
  *iPosicao = static_cast<uint16_t>(achada);
  return S_OK;
}

HRESULT CLancamentoBase::ExcluiFormatoImportacao(BSTR bsNomeFormatoImportacao) {
  uint16_t excluida = 0;
  if (ExisteFormatoImportacao(bsNomeFormatoImportacao, &excluida) != S_OK || excluida == 0) {
    return S_OK;
  }
  const std::string caminho = CaminhoFormatos(*this, qx::kImportLayoutFileName);
  const std::string temporario = CaminhoFormatos(*this, qx::kImportLayoutTempFileName);
  CQXarq destino;
  if (int status = destino.Abre(temporario.c_str(), 'C', kImportLayoutRecordSize, false)) {
    return status;
  }
  const REGFORMATOIMPORT zero{};
  if (int status = destino.GravaZero(&zero, kImportLayoutRecordSize)) return status;
  CQXarq origem;
  if (int status = AbreFormatos(origem, caminho, 'L', Recria::Nao)) return Falha(status);
  if (HRESULT hr = CopiaFormatos(origem, destino, excluida); hr != S_OK) return hr;

  // The copy is complete on disk before it takes the layout file's name in
  // one step, so a crash leaves either the old or the new layouts, never none.
  destino.Flush();  // throws CFileException*
  if (int status = destino.Fecha()) return status;
  if (int status = origem.Fecha()) return Falha(status);
  CFile::RenameReplacing(temporario.c_str(), caminho.c_str());  // throws CFileException*
  return S_OK;
}

HRESULT CLancamentoBase::GravaFormatoImportacao(int32_t lPosicao, REGFORMATOIMPORT RegFormatoImport,
                                                uint16_t* iConsistencia) {
  if (iConsistencia == nullptr) return E_POINTER;
  const unsigned char delimitador = RegFormatoImport.cDelimitador;
  const bool delimitadorValido =
      delimitador != 0 && std::strchr(qx::kImportDelimiters, delimitador) != nullptr;
  const bool falhas[] = {RegFormatoImport.cNomeFormatoImportacao[0] == '\0',
                         RegFormatoImport.cSequenciaContabil[0] == '\0',
                         RegFormatoImport.cSequenciaGerencial[0] == '\0', !delimitadorValido};
  for (uint16_t i = 0; i < 4; ++i) {
    if (falhas[i]) {
      *iConsistencia = static_cast<uint16_t>(i + 1);
      return static_cast<HRESULT>(0x00040000u + i + 1);
    }
  }

  CQXarq arq;
  const std::string caminho = CaminhoFormatos(*this, qx::kImportLayoutFileName);
  if (int status = AbreFormatos(arq, caminho, 'G', Recria::Padrao)) return Falha(status);
  RegFormatoImport.cFiller = 0;
  uint32_t posicao = static_cast<uint32_t>(lPosicao);
  const int status = arq.Grava(&RegFormatoImport, &posicao, kImportLayoutRecordSize);
  return Falha(FechaCom(arq, status));
}

HRESULT CLancamentoBase::GetQuantidadeFormatosImportacao(uint16_t* iQtde) {
  if (iQtde == nullptr) return E_POINTER;
  CQXarq arq;
  const std::string caminho = CaminhoFormatos(*this, qx::kImportLayoutFileName);
  if (int status = AbreFormatos(arq, caminho, 'L', Recria::Padrao)) return Falha(status);
  uint32_t quantidade = 0;
  if (int status = FechaCom(arq, ContaFormatos(arq, &quantidade))) return Falha(status);
  *iQtde = static_cast<uint16_t>(quantidade);
  return S_OK;
}

HRESULT CLancamentoBase::LeFormatoImportacao(int32_t lPosicao, REGFORMATOIMPORT* RegFormatoImport) {
  if (RegFormatoImport == nullptr) return E_POINTER;
  CQXarq arq;
  const std::string caminho = CaminhoFormatos(*this, qx::kImportLayoutFileName);
  if (int status = AbreFormatos(arq, caminho, 'L', Recria::Padrao)) return Falha(status);
  REGFORMATOIMPORT registro;
  // A negative position is past every record and reads as the end of the file.
  const int status = lPosicao < 0 ? ARQ_FIM_DE_ARQUIVO : arq.Le(lPosicao, &registro);
  if (int fim = FechaCom(arq, status)) return Falha(fim);
  *RegFormatoImport = registro;
  return S_OK;
}

HRESULT CLancamentoBase::GetFormatosImportacao(uint16_t iQtde,
                                               REGFORMATOIMPORT* pRegFormatoImport) {
  if (iQtde == 0) return S_OK;
  if (pRegFormatoImport == nullptr) return E_POINTER;
  CQXarq arq;
  const std::string caminho = CaminhoFormatos(*this, qx::kImportLayoutFileName);
  if (int status = AbreFormatos(arq, caminho, 'L', Recria::Nao)) return Falha(status);
  // Each layout is read aside and copied into its element, so the caller's
  // array is never written beyond its iQtde elements.
  int status = ARQ_OK;
  REGFORMATOIMPORT registro;
  for (uint32_t p = 1; status == ARQ_OK && p <= iQtde; ++p) {
    status = arq.Le(p, &registro);
    if (status == ARQ_OK) pRegFormatoImport[p - 1] = registro;
  }
  return Falha(FechaCom(arq, status));
}
