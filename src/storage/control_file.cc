#include "storage/control_file.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "platform/codepage.h"
#include "platform/path.h"
#include "storage/file_access.h"
#include "storage/qx_arq.h"
#include "storage/retry_budgets.h"

namespace qx {
namespace {

// The entry of a name: cut (and upper-cased) as the rule says, NUL-padded.
void MontaEntrada(std::string_view nome, const RegraControle& regra,
                  char (&entrada)[kTamanhoRegistroControle]) {
  std::memset(entrada, 0, sizeof entrada);
  const size_t tamanho = std::min({nome.size(), regra.tamanhoEntrada, sizeof entrada});
  std::memcpy(entrada, nome.data(), tamanho);
  if (!regra.maiusculas) return;
  for (char& c : std::span(entrada, tamanho)) c = Cp1252ToUpper(c);
}

// Entries compare as texts of at most 32 characters, without regard to case.
bool MesmaEntrada(const char* registro, const char* entrada) {
  return Cp1252EqualNoCase(std::string_view(registro, strnlen(registro, kTamanhoRegistroControle)),
                           std::string_view(entrada, strnlen(entrada, kTamanhoRegistroControle)));
}

// Opens the control file for writing, creating it with its zero header when missing.
// Created without truncation: another opener may have made it, and listed a file in
// it, since this one found it missing.
int AbreControle(CQXarq& controle, const std::string& caminho, const RegraControle& regra) {
  int status = controle.Abre(caminho.c_str(), 'G', kTamanhoRegistroControle, false);
  if (status == ARQ_EM_USO && regra.repeteSeEmUso) {
    Sleep(50);
    status = controle.Abre(caminho.c_str(), 'G', kTamanhoRegistroControle, false);
  }
  if (status != ARQ_NAO_ENCONTRADO) return status;
  status = CriaArquivoZerado(caminho.c_str(), kTamanhoRegistroControle, kAbreQXarq, kGravaQXarq);
  if (status != ARQ_OK) return status;
  return controle.Abre(caminho.c_str(), 'G', kTamanhoRegistroControle, false);
}

}  // namespace

int CriaSobControle(std::string_view caminho, const RegraControle& regra,
                    const std::function<int()>& cria) {
  const size_t separador = LastSeparator(caminho);
  const std::string_view pasta =
      separador == std::string_view::npos ? std::string_view() : caminho.substr(0, separador + 1);
  char entrada[kTamanhoRegistroControle];
  MontaEntrada(NomeDoCaminho(caminho), regra, entrada);

  CQXarq controle;
  int status = AbreControle(controle, std::string(pasta) + regra.nomeControle, regra);
  if (status != ARQ_OK) return status;
  char registro[kTamanhoRegistroControle];
  uint32_t posicao = 0;
  for (;; ++posicao) {
    status = controle.Le(posicao, registro);
    if (status == ARQ_FIM_DE_ARQUIVO) break;
    if (status != ARQ_OK || MesmaEntrada(registro, entrada)) {
      controle.Fecha();
      if (status != ARQ_OK) return status;
      // Listed: made by an opener that held the control file before us, or
      // made once and gone since.
      return ArquivoAusente(std::string(caminho).c_str()) ? ARQ_NAO_ENCONTRADO : ARQ_OK;
    }
  }
  // An empty control file gets its zero header before the first entry.
  if (posicao == 0) posicao = 1;
  status = controle.Grava(entrada, &posicao, kTamanhoRegistroControle);
  if (status == ARQ_OK) status = cria();
  const int fechamento = controle.Fecha();
  return status != ARQ_OK ? status : fechamento;
}

bool ArquivoAusente(const char* caminho) {
  CFile sonda;
  CFileException erro;
  if (sonda.Open(caminho, CFile::modeRead | CFile::shareDenyNone, &erro)) return false;
  return erro.m_cause == CFileException::fileNotFound || erro.m_cause == CFileException::badPath;
}

int CriaArquivoZerado(const char* caminho, uint32_t tamanhoCabecalho, const Orcamento& abertura,
                      const Orcamento& gravacao) {
  // Created without truncation: a file that another process made in the meantime
  // keeps its records, and only an empty file gets the header.
  constexpr unsigned kCriaSemTruncar =
      CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite | CFile::shareDenyWrite;
  CFile arquivo;
  int status = AbreComOrcamento(arquivo, caminho, kCriaSemTruncar, abertura);
  if (status != ARQ_OK) return status;
  const std::vector<char> zeros(tamanhoCabecalho);
  status = ComOrcamento(gravacao, [&] {
    if (arquivo.GetLength() != 0) return ARQ_OK;
    EscreveInteiro(arquivo, 0, zeros.data(), tamanhoCabecalho);
    return ARQ_OK;
  });
  const int fechamento = FechaArquivo(arquivo);
  return status != ARQ_OK ? status : fechamento;
}

}  // namespace qx
