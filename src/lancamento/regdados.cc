#include "lancamento/regdados.h"

namespace qx {

REGDADOS DadosDoLancamento(const LancamentoAtual& atual) {
  REGDADOS dados{};
  dados.Documento = atual.Documento;
  dados.Complemento = static_cast<int32_t>(atual.ulComplemento);
  dados.Gerencial = static_cast<int32_t>(atual.ulGerencial);
  dados.DataLancamento = atual.Data.Value();
  dados.lChaveModulo = static_cast<int32_t>(atual.lChaveModulo);
  dados.iData = atual.iData;
  dados.Valor.int64 = atual.Valor.int64;
  dados.ValorMoeda.int64 = atual.ValorMoeda.int64;
  dados.Debito = atual.Debito;
  dados.Credito = atual.Credito;
  dados.Secao = static_cast<int32_t>(atual.Secao);
  dados.CodHis = static_cast<int16_t>(atual.CodHis);
  dados.Filial = static_cast<int16_t>(atual.Filial);
  dados.cGravarZero = static_cast<unsigned char>(atual.cGravarZero);
  dados.cConferido = atual.cConferido;
  dados.cStatusIFRS = atual.cStatusIFRS;
  return dados;
}

void CopiaRegDados(const REGDADOS& dados, RegDados* destino) {
  destino->Documento = dados.Documento;
  destino->Complemento = dados.Complemento;
  destino->Gerencial = dados.Gerencial;
  destino->DataLancamento = dados.DataLancamento;
  destino->wChaveOrigem = _QX_DMCPS{dados.lChaveModulo, dados.iData, {0, 0}};
  destino->Valor.int64 = dados.Valor.int64;
  destino->ValorMoeda.int64 = dados.ValorMoeda.int64;
  destino->Debito = dados.Debito;
  destino->Credito = dados.Credito;
  destino->Secao = dados.Secao;
  destino->CodHis = dados.CodHis;
  destino->Filial = dados.Filial;
  destino->cGravarZero = dados.cGravarZero;
  destino->cConferido = dados.cConferido;
  destino->cStatusIFRS = dados.cStatusIFRS;
}

}  // namespace qx
