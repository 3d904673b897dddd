// The filtered entry search: BuscaQtdLancamentos walks the months and keeps
// the keys of the accepted entries in the object, BuscaLancamentos hands them
// out and empties the list.
#include <algorithm>
#include <vector>

#include "diagnostics/error_log.h"
#include "entries/lancamento_base.h"
#include "queries/busca_comum.h"
#include "queries/filtro_aceita.h"
#include "storage/month_name.h"

namespace {

constexpr char kFuncao[] = "CLancamentoBase::BuscaQtdLancamentos";

void RegistraFalha(CLancamentoBase& objeto, int linha, const char* passo, HRESULT hr) {
  QXGravaLogHresult(&objeto, kFuncao, qx::kUnidadeBusca, linha, "hr", passo, hr);
}

// The session keys of the user's sessions, from the change log. A failure is
// logged and leaves the table empty, so that the user filter admits nothing.
std::vector<int32_t> SessoesDoUsuario(CLancamentoBase& objeto, uint16_t usuario) {
  CQXComPtr<IQXDF_Log> log;
  HRESULT hr = objeto.GetAcessoEmpresarial()->GetIDFLog(log);
  if (FAILED(hr) || !log) {
    RegistraFalha(objeto, __LINE__, "GetAcessoEmpresarial()->GetIDFLog(pILog)",
                  FAILED(hr) ? hr : E_POINTER);
    return {};
  }
  _REG_DF_FILTRO_LOGPS filtro{};
  filtro.usUsuario = usuario;
  int32_t quantidade = 0;
  hr = log->BuscaQuantidade(filtro, &quantidade);
  if (FAILED(hr)) {
    RegistraFalha(objeto, __LINE__, "pILog->BuscaQuantidade(regFiltroLog, &lQuantidadeSessoes)",
                  hr);
    return {};
  }
  if (quantidade <= 0) return {};
  std::vector<int32_t> sessoes(static_cast<size_t>(quantidade));
  hr = log->BuscaPonteiros(quantidade, reinterpret_cast<uint32_t*>(sessoes.data()));
  if (FAILED(hr)) {
    RegistraFalha(objeto, __LINE__, "pILog->BuscaPonteiros(lQuantidadeSessoes, pTabSessoes)", hr);
    return {};
  }
  return sessoes;
}

// Runs the test over one month's records, appending the keys it accepts. A
// failed open or read ends the search.
bool BuscaMes(const std::string& pasta, CQXMesAno mes, CQXMesAno base,
              qx::AceitacaoFiltro& aceitacao, std::vector<int32_t>* resultado) {
  CQXarq lancamentos;
  CQXarq complementos;
  CQXarq gerencial;
  if (qx::AbreArquivoMes(lancamentos, pasta, qx::kPrefixoLancamentos, mes.Value(), 'L',
                         qx::kEntryRecordSize) != ARQ_OK) {
    return false;
  }
  const bool comComplementos = aceitacao.PrecisaComplementos();
  const bool comGerencial = aceitacao.PrecisaGerencial();
  if ((comComplementos &&
       qx::AbreArquivoMes(complementos, pasta, qx::kPrefixoComplementos, mes.Value(), 'L',
                          qx::kTamanhoLeituraComplemento) != ARQ_OK) ||
      (comGerencial && qx::AbreArquivoMes(gerencial, pasta, qx::kPrefixoGerencial, mes.Value(), 'L',
                                          qx::kSplitRecordSize) != ARQ_OK)) {
    return false;
  }
  aceitacao.IniciaMes(mes.Value(), comComplementos ? &complementos : nullptr,
                      comGerencial ? &gerencial : nullptr);
  int falha = ARQ_OK;
  const int leitura =
      qx::PercorreRegistros(lancamentos, [&](uint32_t posicao, const qx::EntryRecord& registro) {
        bool aceito = false;
        falha = aceitacao.Aceita(registro, static_cast<int32_t>(posicao), &aceito);
        if (aceito) resultado->push_back(qx::ChaveBusca(mes, base, posicao));
        return falha == ARQ_OK;
      });
  return leitura == ARQ_OK && falha == ARQ_OK;
}

}  // namespace

HRESULT CLancamentoBase::BuscaQtdLancamentos(ULONG DataInicial, ULONG DataFinal,
                                             int32_t* Quantidade) {
  if (Quantidade == nullptr) return E_POINTER;
  *Quantidade = 0;
  m_busca.resultado.clear();
  const qx::FiltroLancamento& filtro = m_consulta.filtro;
  const CQXMesAno base = qx::MesDoLimite(DataInicial);
  const CQXMesAno primeiro = filtro.DataInicial != 0 ? qx::MesDoLimite(filtro.DataInicial) : base;
  const CQXMesAno ultimo = qx::MesDoLimite(filtro.DataFinal != 0 ? filtro.DataFinal : DataFinal);
  const qx::Meses meses(primeiro, ultimo);
  if (const HRESULT hr = qx::VerificaMesesBusca(*this, kFuncao, meses, base); FAILED(hr)) return hr;

  CQXDadosDF_FiliaisAtivas filiais;
  if (qx::CarregaFiliaisAtivas(*this, kFuncao, &filiais) != S_OK) return S_OK;
  const std::vector<int32_t> sessoes =
      filtro.iUsuario != 0 ? SessoesDoUsuario(*this, filtro.iUsuario) : std::vector<int32_t>();
  qx::AceitacaoFiltro aceitacao(filtro, DataInicial, DataFinal, filiais, sessoes);

  for (CQXMesAno mes : meses) {
    if (!BuscaMes(m_strPastaEmpresa, mes, base, aceitacao, &m_busca.resultado)) break;
  }
  *Quantidade = static_cast<int32_t>(m_busca.resultado.size());
  return S_OK;
}

HRESULT CLancamentoBase::BuscaLancamentos(int32_t Quantidade, Lancamentos* Lista) {
  // Never more keys than the caller made room for, nor than the list holds.
  const size_t copiar =
      Quantidade > 0 ? std::min<size_t>(static_cast<size_t>(Quantidade), m_busca.resultado.size())
                     : 0;
  if (copiar > 0 && Lista == nullptr) return E_POINTER;
  for (size_t i = 0; i < copiar; ++i) Lista[i].Indlan = m_busca.resultado[i];
  m_busca.resultado.clear();
  return S_OK;
}
