// FazRedGerencial: over a range of dates, the split lines of one managerial
// account are shared among other managerial accounts by percentages. Each
// changed entry gets a new chain appended to its month's CNLG; the old chain
// is zeroed afterwards. No mark, change log or document notice is involved,
// and quantities stay where they are.
#include <cinttypes>
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "diagnostics/error_log.h"
#include "lancamento/buscas/filtro_conta_contabil.h"
#include "lancamento/gerencial/gerencial_leitura.h"
#include "lancamento/gerencial/redistribuicao.h"
#include "lancamento/lancamento_base.h"
#include "storage/month_name.h"
#include "storage/qx_arq.h"
#include "storage/records/entry_records.h"
#include "values/qx_mes_ano.h"

namespace {

constexpr char kUnidade[] = "LancamentoBase";
constexpr char kFuncao[] = "CLancamentoBase::FazRedGerencial";

// What the redistribution of one month needs to know.
struct Pedido {
  IQXDF_Profiler* identidade;
  const std::string& pasta;
  CQXData dataInicial;
  CQXData dataFinal;
  const CQXDadosDF_FiliaisAtivas& filiais;
  std::function<bool(const REGLAN_GER&)> redistribui;
  std::span<const REG_REDISTR_GERENCIAL> contas;
};

// Logs a failed write and gives its status back.
int FalhaGravacao(const Pedido& pedido, int linha, const char* expressao, int status) {
  QXGravaLogStatus(pedido.identidade, kFuncao, kUnidade, linha, expressao, "iRetorno", status,
                   QXHresultDoStatus(status));
  return status;
}

bool Participa(const Pedido& pedido, const qx::EntryRecord& registro, CQXMesAno mes) {
  if (registro.Gerencial <= 0 || registro.cStatus == qx::kEntryDeleted) return false;
  if (pedido.filiais.EhFilialAtiva(registro.Filial) == 0) return false;
  const CQXData data = CQXData::FromMesAno(mes, registro.cDia);
  return !data.IsEmpty() && data >= pedido.dataInicial && data <= pedido.dataFinal;
}

// Replaces the chain of the entry at `posicao`: the new lines are appended,
// the entry is pointed at them (or at none when no line is left) and the old
// positions are zeroed, exactly those that were read: a new chain appended
// right after the old one carries the same owner word.
int RedistribuiLancamento(const Pedido& pedido, CQXarq& lancamentos, CQXarq& gerencial,
                          uint32_t posicao, qx::EntryRecord registro, CQXMesAno mes) {
  const uint32_t primeiraAntiga = static_cast<uint32_t>(registro.Gerencial);
  const std::vector<REGLAN_GER> antiga =
      qx::LeLinhasDaCadeia(gerencial, primeiraAntiga, std::numeric_limits<std::size_t>::max());
  std::vector<REGLAN_GER> nova;
  switch (qx::RedistribuiCadeia(antiga, pedido.redistribui, pedido.contas, &nova)) {
    case qx::ResultadoCadeia::kSemMudanca:
      return ARQ_OK;
    case qx::ResultadoCadeia::kAreaCheia:
      // The entry is left as it was; the others go on.
      QXGravaLogErro(pedido.identidade, kFuncao, kUnidade, __LINE__,
                     "Lan\xE7"
                     "amento %" PRIu32
                     " do m\xEAs %u mantido: a redistribui\xE7\xE3o "
                     "daria mais de %zu linhas gerenciais",
                     posicao, static_cast<unsigned>(mes.Value()), qx::kLinhasAreaRedistribuicao);
      return ARQ_OK;
    case qx::ResultadoCadeia::kRedistribuida:
      break;
  }
  uint32_t primeiraNova = 0;
  for (const REGLAN_GER& linha : nova) {
    uint32_t escrita = 0;
    if (int status = gerencial.Grava(&linha, &escrita, qx::kSplitRecordSize)) {
      return FalhaGravacao(pedido, __LINE__, "iRetorno = arqGer.Grava()", status);
    }
    if (primeiraNova == 0) primeiraNova = escrita;
  }
  registro.Gerencial = static_cast<int32_t>(primeiraNova);
  if (int status = lancamentos.Grava(&registro, &posicao, qx::kEntryRecordSize)) {
    return FalhaGravacao(pedido, __LINE__, "iRetorno = arqLan.Grava()", status);
  }
  const REGLAN_GER zero{};
  for (uint32_t i = 0; i < antiga.size(); ++i) {
    uint32_t antigaPosicao = primeiraAntiga + i;
    if (int status = gerencial.Grava(&zero, &antigaPosicao, qx::kSplitRecordSize)) {
      return FalhaGravacao(pedido, __LINE__, "iRetorno = arqGer.Grava()", status);
    }
  }
  return ARQ_OK;
}

int RedistribuiMes(const Pedido& pedido, CQXMesAno mes) {
  CQXarq lancamentos;
  int status = lancamentos.Abre(
      qx::NomeArquivoMes(pedido.pasta, qx::kPrefixoLancamentos, mes.Value()).c_str(), 'G',
      qx::kEntryRecordSize, true);
  if (status != ARQ_OK) return status;
  CQXarq gerencial;
  status =
      gerencial.Abre(qx::NomeArquivoMes(pedido.pasta, qx::kPrefixoGerencial, mes.Value()).c_str(),
                     'G', qx::kSplitRecordSize, true);
  if (status != ARQ_OK) return status;
  qx::EntryRecord registro;
  for (uint32_t p = 1; status == ARQ_OK && lancamentos.Le(p, &registro) == ARQ_OK; ++p) {
    if (Participa(pedido, registro, mes)) {
      status = RedistribuiLancamento(pedido, lancamentos, gerencial, p, registro, mes);
    }
  }
  const int fechamentoLancamentos = lancamentos.Fecha();
  const int fechamentoGerencial = gerencial.Fecha();
  if (status != ARQ_OK) return status;
  return fechamentoLancamentos != ARQ_OK ? fechamentoLancamentos : fechamentoGerencial;
}

}  // namespace

HRESULT CLancamentoBase::FazRedGerencial(ULONG iContaRedistribuir, ULONG iContaContabil,
                                         ULONG iDataInicial, ULONG iDataFinal, uint16_t iQtdContas,
                                         REG_REDISTR_GERENCIAL* pContas) {
  // Without target accounts every matching line would vanish; without both
  // days the month range is no range. Refused before any file is touched.
  const CQXData dataInicial(iDataInicial);
  const CQXData dataFinal(iDataFinal);
  if (iQtdContas == 0 || pContas == nullptr || dataInicial.IsEmpty() || dataFinal.IsEmpty()) {
    return E_INVALIDARG;
  }
  CQXDadosDF_FiliaisAtivas filiais;
  const HRESULT hr = GetAcessoEmpresarial()->LeFiliaisAtivas(GetUsuario(), &filiais, 0);
  if (FAILED(hr)) {
    if (hr != -1) {
      QXGravaLogHresult(this, kFuncao, kUnidade, __LINE__, "hr",
                        "GetAcessoEmpresarial()->LeFiliaisAtivas(GetUsuario(), "
                        "&dadosFiliaisAtivas)",
                        hr);
    }
    return hr;
  }
  qx::FiltroContaContabil filtro(m_planoContabil, static_cast<int32_t>(iContaContabil));
  const Pedido pedido{
      this,
      m_strPastaEmpresa,
      dataInicial,
      dataFinal,
      filiais,
      [&filtro, iContaRedistribuir](const REGLAN_GER& linha) {
        return static_cast<uint32_t>(linha.ContaGerencial) == iContaRedistribuir &&
               filtro.Aceita(linha.ContaContabil);
      },
      std::span<const REG_REDISTR_GERENCIAL>(pContas, iQtdContas),
  };
  const CQXMesAno ultimo = dataFinal.MesAno();
  for (CQXMesAno mes = dataInicial.MesAno(); !mes.IsEmpty() && mes <= ultimo; mes = mes.Add(1)) {
    if (int status = RedistribuiMes(pedido, mes)) return status;
  }
  return S_OK;
}
