// The CRM extract: the company's client code and, for client code 851, the
// branch position table read from "POSFILCRM.TXT" in the company's folder.
#include <cstring>
#include <string>

#include "lancamento/lancamento_base.h"
#include "platform/file.h"
#include "platform/file_exception.h"
#include "platform/path.h"

namespace {

constexpr uint16_t kClienteComTabela = 851;
constexpr char kArquivoPosicoes[] = "POSFILCRM.TXT";
constexpr size_t kEntradasTabela = 10;
// Characters of a line: the branch digit is the first, the position digit the 32nd.
constexpr size_t kColunaPosicao = 31;

// The whole text of the file, or false when it cannot be opened or read.
bool LeTexto(const std::string& caminho, std::string* texto) {
  CFile arquivo;
  if (!arquivo.Open(caminho.c_str(), CFile::modeRead | CFile::shareDenyNone)) return false;
  try {
    char bloco[4096];
    while (uint32_t lidos = arquivo.Read(bloco, sizeof(bloco))) texto->append(bloco, lidos);
    arquivo.Close();
  } catch (CFileException* erro) {
    erro->Delete();
    arquivo.Abort();
    return false;
  }
  return true;
}

int Digito(char c) { return c >= '0' && c <= '9' ? c - '0' : 0; }

// Lines up to the first empty one: table[branch digit] = position digit, for
// branch digits 1 to 9; a line too short for its position digit gives 0.
void PreencheTabela(const std::string& texto, uint16_t (&tabela)[kEntradasTabela]) {
  size_t inicio = 0;
  while (inicio < texto.size()) {
    size_t fim = texto.find('\n', inicio);
    if (fim == std::string::npos) fim = texto.size();
    std::string linha = texto.substr(inicio, fim - inicio);
    if (!linha.empty() && linha.back() == '\r') linha.pop_back();
    if (linha.empty()) return;
    const int filial = Digito(linha[0]);
    if (filial != 0) {
      tabela[filial] =
          static_cast<uint16_t>(linha.size() > kColunaPosicao ? Digito(linha[kColunaPosicao]) : 0);
    }
    inicio = fim + 1;
  }
}

}  // namespace

HRESULT CLancamentoBase::PegaDadosCRM(uint16_t* iCodCli, uint16_t /*iQtd*/,
                                      uint16_t* iPosicaoFilial) {
  if (iCodCli == nullptr || iPosicaoFilial == nullptr) return E_POINTER;
  uint16_t tabela[kEntradasTabela] = {};
  *iCodCli = m_usCodigoCliente;
  std::string texto;
  if (m_usCodigoCliente == kClienteComTabela &&
      LeTexto(qx::JoinPath(m_strPastaEmpresa, kArquivoPosicoes), &texto)) {
    PreencheTabela(texto, tabela);
  }
  std::memcpy(iPosicaoFilial, tabela, sizeof(tabela));
  return S_OK;
}
