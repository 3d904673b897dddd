#include "lancamento/leitura/carrega_lancamento.h"

#include "lancamento/meses/arquivo_mes.h"

namespace qx {

void CarregaLancamento(const EntryRecord& registro, uint16_t mesAno, uint32_t indlan,
                       LancamentoAtual* atual) {
  atual->CodHis = registro.CodHis;
  atual->Credito = registro.Credito;
  atual->Data = DataDoLancamento(mesAno, registro.cDia);
  atual->Debito = registro.Debito;
  atual->Documento = registro.Documento;
  atual->Filial = registro.Filial;
  atual->Valor = registro.Valor;
  atual->ValorMoeda = CURRENCY{};
  atual->lChaveModulo = static_cast<uint32_t>(registro.lChaveModulo);
  atual->iData = registro.iData;
  atual->ulComplemento = static_cast<uint32_t>(registro.Complemento);
  atual->ulGerencial = static_cast<uint32_t>(registro.Gerencial);
  atual->Secao = static_cast<uint32_t>(registro.Secao);
  atual->cConferido = registro.cConferido;
  atual->cStatusIFRS = registro.cStatusIFRS;
  atual->usMesAnoLido = mesAno;
  atual->ulIndlanLido = indlan;
}

int CarregaValorMoeda(CQXarq& moeda, uint32_t indlan, LancamentoAtual* atual) {
  CurrencyRecord valor;
  if (int status = moeda.Le(indlan, &valor)) return status;
  atual->ValorMoeda = valor.ValorMoeda;
  if (valor.ValorMoeda.int64 == 0) atual->cGravarZero = 'S';
  return ARQ_OK;
}

}  // namespace qx
