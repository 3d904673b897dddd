#include "lancamento/listagens/web_saida.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "lancamento/buscas/busca_comum.h"
#include "platform/task_memory.h"

namespace qx {

namespace {

constexpr uint8_t kTextoHistorico = 0;
constexpr uint8_t kCodigoComDigito = 1;
constexpr uint8_t kAbreviacao = 2;

template <size_t N>
void CopiaTexto(std::string_view texto, char (&campo)[N]) {
  const size_t tamanho = std::min(texto.size(), N - 1);
  std::memcpy(campo, texto.data(), tamanho);
  campo[tamanho] = '\0';
}

}  // namespace

int DigitoHistorico(uint32_t codigo) {
  std::string digitos = std::to_string(codigo);
  if (digitos.size() < 4) digitos.insert(0, 4 - digitos.size(), '0');
  constexpr int kPesos[4] = {4, 5, 7, 6};
  int soma = 0;
  for (int i = 0; i < 4; ++i) soma += kPesos[i] * (digitos[i] - '0');
  const int digito = 11 - soma % 11;
  return digito > 9 ? digito - 10 : digito;
}

void TextoCodigoHistorico(uint8_t tipo, uint16_t codigo, const _RegHistoricoPS& historico,
                          char (&campo)[6]) {
  std::memset(campo, 0, sizeof(campo));
  switch (tipo) {
    case kTextoHistorico:
      CopiaTexto({historico.szTexto, strnlen(historico.szTexto, sizeof(historico.szTexto))}, campo);
      break;
    case kCodigoComDigito: {
      std::string texto = std::to_string(codigo);
      texto += static_cast<char>('0' + DigitoHistorico(codigo));
      CopiaTexto(texto, campo);
      break;
    }
    case kAbreviacao:
      CopiaTexto(
          {historico.szAbreviacao, strnlen(historico.szAbreviacao, sizeof(historico.szAbreviacao))},
          campo);
      break;
    default:
      break;
  }
}

HRESULT MontaLancamentoWeb(const EntryRecord& registro, CQXMesAno mes, uint32_t posicao,
                           CConexaoHistorico& historicos, uint8_t tipoTexto,
                           _REG_LANCAMENTO_TARVOWEB_PS* saida) {
  *saida = _REG_LANCAMENTO_TARVOWEB_PS{};
  saida->ulPosicaoContaDebito = static_cast<uint32_t>(registro.Debito);
  saida->ulPosicaoContaCredito = static_cast<uint32_t>(registro.Credito);
  saida->ulPosicaoFilial = registro.Filial;
  saida->ulPosicaoDocumento = static_cast<uint32_t>(registro.Documento);
  saida->vValor = registro.Valor;
  saida->dmcChaveComposta = _QX_DMCPS{static_cast<int32_t>(posicao), mes.Value(), {}};
  saida->usData = DataDoLancamento(mes.Value(), registro.cDia).Value();
  _RegHistoricoPS historico{};
  const HRESULT hr = historicos.Le(registro.CodHis, &historico);
  if (hr < 0) return hr;
  TextoCodigoHistorico(tipoTexto, registro.CodHis, historico, saida->cCodigoHistorico);
  return S_OK;
}

HRESULT EntregaListaWeb(const std::vector<_REG_LANCAMENTO_TARVOWEB_PS>& lancamentos,
                        _REG_LISTA_LANCAMENTOS_TARVOWEB_PS** lista) {
  *lista = nullptr;
  auto* cabeca = static_cast<_REG_LISTA_LANCAMENTOS_TARVOWEB_PS*>(
      CoTaskMemAlloc(sizeof(_REG_LISTA_LANCAMENTOS_TARVOWEB_PS)));
  const size_t bytes = lancamentos.size() * sizeof(_REG_LANCAMENTO_TARVOWEB_PS);
  auto* bloco = static_cast<_REG_LANCAMENTO_TARVOWEB_PS*>(CoTaskMemAlloc(bytes));
  if (cabeca == nullptr || bloco == nullptr) {
    CoTaskMemFree(cabeca);
    CoTaskMemFree(bloco);
    return E_OUTOFMEMORY;
  }
  std::memset(cabeca, 0, sizeof(*cabeca));
  std::memset(bloco, 0, bytes);
  std::copy(lancamentos.begin(), lancamentos.end(), bloco);
  cabeca->ulQtde = static_cast<uint32_t>(lancamentos.size());
  cabeca->pPonteiros = bloco;
  *lista = cabeca;
  return S_OK;
}

}  // namespace qx
