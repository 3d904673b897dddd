#include "storage/file_access.h"

#include "platform/path.h"
#include "storage/intencao.h"
#include "storage/retry_budgets.h"
#include "storage/text_field_report.h"

namespace qx {

unsigned FlagsDoModo(char modo) {
  switch (modo) {
    case 'C':
      return CFile::modeCreate | CFile::modeReadWrite | CFile::shareDenyWrite;
    case 'G':
      return CFile::modeReadWrite | CFile::shareDenyWrite | CFile::modeNoTruncate;
    case 'L':
      return CFile::modeRead | CFile::shareDenyNone | CFile::modeNoTruncate;
    default:
      return 0;
  }
}

bool CaminhoAceito(std::string_view caminho, const char* unidade, int linha) {
  ReportaTextoLongo(caminho, kCaminhoMaximo + 1, unidade, linha);
  return caminho.size() <= kCaminhoMaximo;
}

std::string NomeDoCaminho(std::string_view caminho) {
  const size_t separador = LastSeparator(caminho);
  return std::string(separador == std::string_view::npos ? caminho : caminho.substr(separador + 1));
}

int AbreComOrcamento(CFile& arquivo, const char* caminho, unsigned flags,
                     const Orcamento& orcamento) {
  return ComOrcamento(orcamento, [&] {
    CFileException erro;
    if (!arquivo.Open(caminho, flags, &erro)) {
      CFileException::Throw(erro.m_cause, erro.m_lOsError, caminho);
    }
    return ARQ_OK;
  });
}

int PosicionaArquivo(CFile& arquivo, char modo, int32_t posicao, uint32_t* tamanho) {
  if (tamanho != nullptr) *tamanho = 0;
  if (!arquivo.IsOpen()) return ARQ_NADA_FEITO;
  if (modo != 'I' && modo != 'F' && modo != 'P') return ARQ_PARAMETRO_INVALIDO;
  return ComOrcamento(kPosiciona, [&] {
    if (modo == 'I') {
      arquivo.SeekToBegin();
      return ARQ_OK;
    }
    const uint64_t fim = arquivo.SeekToEnd();
    if (modo == 'F') {
      if (tamanho != nullptr) *tamanho = static_cast<uint32_t>(fim);
      return ARQ_OK;
    }
    if (static_cast<uint32_t>(posicao) >= fim) return ARQ_FIM_DE_ARQUIVO;
    arquivo.Seek(posicao, CFile::begin);
    return ARQ_OK;
  });
}

int FechaArquivo(CFile& arquivo) {
  return ComOrcamento(kFecha, [&] {
    arquivo.Close();
    return ARQ_OK;
  });
}

uint64_t FimParaAnexar(CFile& arquivo, uint32_t tamanhoRegistro, uint32_t tamanho) {
  const uint64_t comprimento = arquivo.GetLength();
  if (tamanho != tamanhoRegistro || tamanhoRegistro <= 1) return comprimento;
  return comprimento / tamanhoRegistro * tamanhoRegistro;
}

void EscreveInteiro(CFile& arquivo, uint64_t posicao, const void* bytes, uint32_t tamanho) {
  if (Intencao* intencao = Intencao::DaThread()) intencao->AntesDeEscrever(arquivo, posicao, tamanho);
  try {
    arquivo.Seek(static_cast<int64_t>(posicao), CFile::begin);
    arquivo.Write(bytes, tamanho);
  } catch (CFileException*) {
    // The partial bytes go; should that fail as well, reads still end before
    // them and the next append writes over them.
    try {
      const uint64_t comprimento = arquivo.GetLength();
      if (comprimento > posicao && comprimento - posicao < tamanho) arquivo.SetLength(posicao);
    } catch (CFileException* corte) {
      corte->Delete();
    }
    throw;
  }
}

}  // namespace qx
