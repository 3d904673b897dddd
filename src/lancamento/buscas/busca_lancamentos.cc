// The filtered entry search: BuscaQtdLancamentos walks the months and keeps
// the keys of the accepted entries in the object, BuscaLancamentos hands them
// out and empties the list.
#include <algorithm>
#include <vector>

#include "diagnostics/error_log.h"
#include "lancamento/buscas/busca_comum.h"
#include "lancamento/buscas/filtro_aceita.h"
#include "lancamento/lancamento_base.h"
#include "outside/database/outside_codes.h"
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

// Runs the test over one month's records, appending the keys it accepts.
// Returns the status of a failed open or read, which ends the search.
int BuscaMes(const std::string& pasta, CQXMesAno mes, CQXMesAno base,
             qx::AceitacaoFiltro& aceitacao, std::vector<int32_t>* resultado) {
  CQXarq lancamentos;
  CQXarq complementos;
  CQXarq gerencial;
  if (int status = qx::AbreArquivoMes(lancamentos, pasta, qx::kPrefixoLancamentos, mes.Value(),
                                      'L', qx::kEntryRecordSize)) {
    return status;
  }
  const bool comComplementos = aceitacao.PrecisaComplementos();
  const bool comGerencial = aceitacao.PrecisaGerencial();
  if (comComplementos) {
    if (int status = qx::AbreArquivoMes(complementos, pasta, qx::kPrefixoComplementos, mes.Value(),
                                        'L', qx::kTamanhoLeituraComplemento)) {
      return status;
    }
  }
  if (comGerencial) {
    if (int status = qx::AbreArquivoMes(gerencial, pasta, qx::kPrefixoGerencial, mes.Value(), 'L',
                                        qx::kSplitRecordSize)) {
      return status;
    }
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
  return leitura != ARQ_OK ? leitura : falha;
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
  if (const HRESULT hr = qx::VerificaMesesBusca(*this, kFuncao, primeiro, ultimo, base); FAILED(hr)) {
    return hr;
  }
  const qx::Meses meses(primeiro, ultimo);

  // A user the company does not know has no active branch, so nothing to find; any other
  // failure to read the branches (the suite database gone) is no empty result.
  CQXDadosDF_FiliaisAtivas filiais;
  if (const HRESULT hr = qx::CarregaFiliaisAtivas(*this, kFuncao, &filiais); hr != S_OK) {
    return hr == E_QXDF_REGISTRO_NAO_ENCONTRADO ? S_OK : hr;
  }
  const std::vector<int32_t> sessoes =
      filtro.iUsuario != 0 ? SessoesDoUsuario(*this, filtro.iUsuario) : std::vector<int32_t>();
  qx::AceitacaoFiltro aceitacao(filtro, DataInicial, DataFinal, filiais, sessoes);

  // A month that cannot be read ends the search: the keys found before it
  // stay, and the failure is returned, as a month that shows no entries
  // would be taken for an empty one.
  int status = ARQ_OK;
  for (CQXMesAno mes : meses) {
    if ((status = BuscaMes(m_strPastaEmpresa, mes, base, aceitacao, &m_busca.resultado))) break;
  }
  *Quantidade = static_cast<int32_t>(m_busca.resultado.size());
  return status == ARQ_OK ? S_OK : QXHresultDoStatus(status);
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

HRESULT CLancamentoBase::LeChavesBusca(int32_t Inicio, int32_t Quantidade, Lancamentos* Lista,
                                       int32_t* Total) {
  if (Total == nullptr) return E_POINTER;
  if (Inicio < 0 || Quantidade < 0) return E_INVALIDARG;
  const std::vector<int32_t>& chaves = m_busca.resultado;
  *Total = static_cast<int32_t>(chaves.size());
  // The list stays for the next page; BuscaLancamentos empties it.
  const size_t inicio = std::min(static_cast<size_t>(Inicio), chaves.size());
  const size_t copiar = std::min(static_cast<size_t>(Quantidade), chaves.size() - inicio);
  if (copiar > 0 && Lista == nullptr) return E_POINTER;
  for (size_t i = 0; i < copiar; ++i) Lista[i].Indlan = chaves[inicio + i];
  return S_OK;
}
