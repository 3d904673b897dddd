#include "lancamento/entrada_cliente.h"

#include <algorithm>
#include <cstring>

namespace qx {
namespace {

// Bytes of the client's text that are kept, and the longest text stored as
// it is; a longer one keeps its first kComplementMaxStored bytes and a CR.
constexpr size_t kBytesAceitos = 511;
constexpr size_t kTextoMaximo = kComplementReadSize;

}  // namespace

void CopiaDadosParaAtual(const RegDados& dados, LancamentoAtual* atual) {
  atual->Documento = dados.Documento;
  atual->Valor = dados.Valor;
  atual->ValorMoeda = dados.ValorMoeda;
  atual->Debito = dados.Debito;
  atual->Credito = dados.Credito;
  atual->CodHis = static_cast<uint16_t>(dados.CodHis);
  atual->Filial = static_cast<uint16_t>(dados.Filial);
  atual->Data = CQXData(dados.DataLancamento);
  atual->lChaveModulo = static_cast<uint32_t>(dados.wChaveOrigem.lChaveModulo);
  atual->iData = dados.wChaveOrigem.iData;
  atual->cGravarZero = static_cast<char>(dados.cGravarZero);
  atual->cStatusIFRS = dados.cStatusIFRS;
}

void DefineComplemento(std::string_view texto, LancamentoAtual* atual) {
  // An embedded NUL ends the text, as it ends the stored one.
  size_t tamanho = std::min(texto.substr(0, texto.find('\0')).size(), kBytesAceitos);
  char* destino = atual->szComplemento;
  std::memset(destino, 0, sizeof atual->szComplemento);
  atual->ulComplemento = 0;
  if (tamanho > kTextoMaximo) {
    tamanho = kComplementMaxStored;
    destino[tamanho] = kComplementEnd;
  }
  std::memcpy(destino, texto.data(), tamanho);
}

REGLAN_GER DoCliente(const RegLan_Ger& registro) {
  return REGLAN_GER{registro.Valor, static_cast<uint32_t>(registro.Indlan), registro.ContaGerencial,
                    registro.ContaContabil};
}

REGQTD_GER DoCliente(const RegQtd_Ger& registro) { return REGQTD_GER{registro.Quantidade}; }

}  // namespace qx
