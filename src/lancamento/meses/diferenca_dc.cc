// The debit/credit differences of the business object: the update that saving
// and removal call, and the interface methods that read the totals.
#include <cstdint>

#include "lancamento/lancamento_base.h"
#include "lancamento/meses/diferenca_arquivo.h"
#include "storage/qx_arq.h"

namespace {

qx::OpcoesDiferenca Opcoes(const CLancamentoBase& objeto) {
  return {objeto.GetModoDiferenca(), objeto.GetDiferencaPorFilial()};
}

// Reads every record of the difference file from position 1 and hands the
// non-empty ones to `usa` until it answers false. Returns the open's status.
template <class Usa>
int PercorreDiferencas(const std::string& pasta, Usa usa) {
  CQXarq arq;
  const std::string caminho = qx::CaminhoDiferenca(pasta);
  if (int status = arq.Abre(caminho.c_str(), 'L', qx::kDifferenceRecordSize, true)) return status;
  qx::DifferenceRecord registro;
  for (uint32_t p = 1; arq.Le(p, &registro) == ARQ_OK; ++p) {
    if (!qx::IsFreeSlot(registro) && !usa(registro)) break;
  }
  arq.Fecha();
  return ARQ_OK;
}

}  // namespace

int CLancamentoBase::AtualizaDiferenca(CQXData data, uint16_t filial, uint16_t usuario,
                                       CURRENCY valor, CURRENCY* novoTotal) {
  return qx::SomaDiferenca(qx::CaminhoDiferenca(m_strPastaEmpresa), Opcoes(*this),
                           {data, filial, usuario}, valor, novoTotal);
}

int CLancamentoBase::AtualizaDiferencaLancamento(int32_t debito, int32_t credito, CURRENCY valor,
                                                 CQXData data, uint16_t filial, uint16_t usuario,
                                                 int sinal) {
  // The amounts an entry without credit account and one without debit
  // account add, with the sign of the step.
  CURRENCY semCredito, semDebito;
  if (__builtin_mul_overflow(valor.int64, sinal < 0 ? -1 : 1, &semCredito.int64) ||
      __builtin_sub_overflow(int64_t{0}, semCredito.int64, &semDebito.int64)) {
    return ARQ_PARAMETRO_INVALIDO;
  }
  if (debito == 0) {
    if (int status = AtualizaDiferenca(data, filial, usuario, semDebito, nullptr)) return status;
  }
  if (credito == 0) {
    if (int status = AtualizaDiferenca(data, filial, usuario, semCredito, nullptr)) {
      // An entry without either account takes back the half already added.
      if (debito == 0) AtualizaDiferenca(data, filial, usuario, semCredito, nullptr);
      return status;
    }
  }
  return ARQ_OK;
}

HRESULT CLancamentoBase::BuscaDiferencaDC(ULONG Data, uint16_t Filial, uint16_t Usuario,
                                          CURRENCY* Diferenca, int32_t* bTemDiferenca) {
  if (Diferenca == nullptr || bTemDiferenca == nullptr) return E_POINTER;
  Diferenca->int64 = 0;
  *bTemDiferenca = 0;
  const std::string caminho = qx::CaminhoDiferenca(m_strPastaEmpresa);
  const qx::LocalDiferenca local =
      qx::BuscaChaveDiferenca(caminho, Opcoes(*this), {CQXData(Data), Filial, Usuario});
  if (local.status != ARQ_OK) return local.status;
  *bTemDiferenca = local.temDiferenca ? 1 : 0;
  if (!local.encontrada) return S_OK;

  CQXarq arq;
  if (int status = arq.Abre(caminho.c_str(), 'L', qx::kDifferenceRecordSize, true)) return status;
  qx::DifferenceRecord registro;
  if (int status = arq.Le(local.posicao, &registro)) return status;
  *Diferenca = registro.Valor;
  return arq.Fecha();
}

HRESULT CLancamentoBase::GetQuantidadeDiferenca(int32_t* Quantidade) {
  if (Quantidade == nullptr) return E_POINTER;
  *Quantidade = 0;
  const int status = PercorreDiferencas(m_strPastaEmpresa, [&](const qx::DifferenceRecord&) {
    ++*Quantidade;
    return true;
  });
  return status == ARQ_NAO_ENCONTRADO ? S_OK : status;
}

HRESULT CLancamentoBase::GetDiferenca(int32_t Quantidade, Reg_Dif* Lista) {
  if (Quantidade <= 0) return S_OK;
  if (Lista == nullptr) return E_POINTER;
  // Never more elements than the caller made room for, even when the file
  // gained records since it asked for the count.
  int32_t escritos = 0;
  PercorreDiferencas(m_strPastaEmpresa, [&](const qx::DifferenceRecord& registro) {
    Reg_Dif& elemento = Lista[escritos++];
    elemento.Valor = registro.Valor;
    elemento.Data = qx::EffectiveDate(registro);
    elemento.Filial = registro.Filial;
    elemento.Usuario = registro.Usuario;
    return escritos < Quantidade;
  });
  return S_OK;
}
