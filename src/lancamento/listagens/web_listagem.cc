// The listing for the web front end: BuscaLancamentosTarvoWeb in its filtered
// mode (ulQtde 0) and its latest-entries mode, and GetRangeDatasTarvoWeb.
#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostics/error_log.h"
#include "lancamento/buscas/busca_comum.h"
#include "lancamento/buscas/filtro_complemento.h"
#include "lancamento/lancamento_base.h"
#include "lancamento/listagens/web_saida.h"
#include "storage/month_name.h"

namespace {

constexpr char kFuncao[] = "CLancamentoBase::BuscaLancamentosTarvoWeb";

// The tests of the filtered mode before the complement's, in their order.
bool PassaAntesDoComplemento(const _REG_FILTRO_LANCAMENTO_TARVOWEB_PS& f, const qx::EntryRecord& r,
                             CQXData data, const CQXDadosDF_FiliaisAtivas& filiais) {
  if (r.cStatus == qx::kEntryDeleted || filiais.EhFilialAtiva(r.Filial) == 0) return false;
  if (f.ulPosicaoFilial != 0 && static_cast<uint16_t>(f.ulPosicaoFilial) != r.Filial) return false;
  if (f.ulPosicaoDocumentoInicial != 0 &&
      (r.Documento < static_cast<int32_t>(f.ulPosicaoDocumentoInicial) ||
       r.Documento > static_cast<int32_t>(f.ulPosicaoDocumentoFinal))) {
    return false;
  }
  if (f.ulPosicaoConta != 0 && static_cast<uint32_t>(r.Debito) != f.ulPosicaoConta &&
      static_cast<uint32_t>(r.Credito) != f.ulPosicaoConta) {
    return false;
  }
  if (f.ulPosicaoHistorico != 0 && r.CodHis != f.ulPosicaoHistorico) return false;
  if (f.usDataInicial != 0 && data.Value() < f.usDataInicial) return false;
  if (f.usDataFinal != 0 && data.Value() > f.usDataFinal) return false;
  return f.cIfrs == 0 || r.cStatusIFRS != 0;
}

// The origin key bounds, tested after the complement.
bool PassaChaves(const _REG_FILTRO_LANCAMENTO_TARVOWEB_PS& f, const qx::EntryRecord& r,
                 uint32_t posicao) {
  const _QX_DMCPS& inicial = f.dmcChaveCompostaInicial;
  const _QX_DMCPS& final = f.dmcChaveCompostaFinal;
  if (inicial.lChaveModulo != 0 &&
      (posicao < static_cast<uint32_t>(inicial.lChaveModulo) || r.iData < inicial.iData)) {
    return false;
  }
  return final.lChaveModulo == 0 ||
         (posicao <= static_cast<uint32_t>(final.lChaveModulo) && r.iData <= final.iData);
}

// What both modes need before they read: the active branches and the kind
// of history code text. Failures are logged and returned.
HRESULT PreparaListagem(CLancamentoBase& objeto, CQXDadosDF_FiliaisAtivas* filiais,
                        uint8_t* tipoTexto) {
  HRESULT hr = qx::CarregaFiliaisAtivas(objeto, kFuncao, filiais);
  if (hr != S_OK) return hr;
  CQXComPtr<IQXCN_Historico> historico;
  hr = objeto.GetAcessoEmpresarial()->GetIDFHistorico(historico);
  if (FAILED(hr) || !historico) {
    hr = FAILED(hr) ? hr : E_POINTER;
    QXGravaLogHresult(&objeto, kFuncao, qx::kUnidadeBusca, __LINE__, "hr",
                      "GetAcessoEmpresarial()->GetIDFHistorico(pIDFHistorico)", hr);
    return hr;
  }
  _REG_CN_HISTORICO_CONFIGURACAOPS configuracao{};
  hr = historico->LeConfiguracao(&configuracao);
  if (FAILED(hr)) {
    QXGravaLogHresult(&objeto, kFuncao, qx::kUnidadeBusca, __LINE__, "hr",
                      "pIDFHistorico->LeConfiguracao(&regHistCfg)", hr);
    return hr;
  }
  *tipoTexto = configuracao.cTipoTextoCodigo;
  return S_OK;
}

// A month's file work that ends a listing: read and close statuses above 0 in
// the failure form; the read's first.
HRESULT FalhaDoMes(int leitura, int fechamento) {
  const int status = leitura > 0 ? leitura : fechamento;
  return status > 0 ? QXHresultDoStatus(status) : S_OK;
}

// Adds the live entries of the months from primeiro to ultimo to *quantidade.
HRESULT ContaLancamentosVivos(const std::string& pasta, CQXMesAno primeiro, CQXMesAno ultimo,
                              uint32_t* quantidade) {
  for (CQXMesAno mes : qx::Meses(primeiro, ultimo)) {
    CQXarq arquivo;
    if (int status = qx::AbreArquivoMes(arquivo, pasta, qx::kPrefixoLancamentos, mes.Value(), 'L',
                                        qx::kEntryRecordSize)) {
      return QXHresultDoStatus(status);
    }
    const int leitura = qx::PercorreRegistros(arquivo, [&](uint32_t, const qx::EntryRecord& r) {
      if (r.cStatus != qx::kEntryDeleted) ++*quantidade;
      return true;
    });
    if (leitura != ARQ_OK) return QXHresultDoStatus(leitura);
    arquivo.Fecha();
  }
  return S_OK;
}

}  // namespace

HRESULT CLancamentoBase::BuscaLancamentosTarvoWeb(
    ULONG ulQtde, _REG_FILTRO_LANCAMENTO_TARVOWEB_PS RegFiltro,
    _REG_LISTA_LANCAMENTOS_TARVOWEB_PS** ppListaLancamentos) {
  if (ppListaLancamentos == nullptr) return E_POINTER;
  *ppListaLancamentos = nullptr;
  CQXDadosDF_FiliaisAtivas filiais;
  uint8_t tipoTexto = 0;
  if (HRESULT hr = PreparaListagem(*this, &filiais, &tipoTexto); hr != S_OK) return hr;
  std::vector<_REG_LANCAMENTO_TARVOWEB_PS> lancamentos;
  const HRESULT hr = ulQtde == 0 ? ListaWebFiltrada(RegFiltro, filiais, tipoTexto, &lancamentos)
                                 : ListaWebRecentes(ulQtde, tipoTexto, &lancamentos);
  if (hr != S_OK) return hr;
  return qx::EntregaListaWeb(lancamentos, ppListaLancamentos);
}

HRESULT CLancamentoBase::ListaWebFiltrada(const _REG_FILTRO_LANCAMENTO_TARVOWEB_PS& filtro,
                                          const CQXDadosDF_FiliaisAtivas& filiais,
                                          uint8_t tipoTexto,
                                          std::vector<_REG_LANCAMENTO_TARVOWEB_PS>* lancamentos) {
  m_busca.dataInicialWeb = filtro.usDataInicial;
  m_busca.dataFinalWeb = filtro.usDataFinal;
  const qx::ComplementoFiltro complemento(std::string_view(
      filtro.cComplemento, strnlen(filtro.cComplemento, qx::kTamanhoComplementoFiltro)));
  CQXMesAno primeiro = qx::MesDoLimite(filtro.usDataInicial);
  if (primeiro.IsEmpty()) primeiro = m_dtInicialPeriodo.MesAno();
  CQXMesAno ultimo = qx::MesDoLimite(filtro.usDataFinal);
  if (ultimo.IsEmpty()) ultimo = m_dtFinalPeriodo.MesAno();

  for (CQXMesAno mes : qx::Meses(primeiro, ultimo)) {
    CQXarq arquivo;
    CQXarq heap;
    int status = qx::AbreArquivoMes(arquivo, m_strPastaEmpresa, qx::kPrefixoLancamentos,
                                    mes.Value(), 'L', qx::kEntryRecordSize);
    if (status == ARQ_OK && !complemento.Vazio()) {
      status = qx::AbreArquivoMes(heap, m_strPastaEmpresa, qx::kPrefixoComplementos, mes.Value(),
                                  'L', qx::kTamanhoLeituraComplemento);
    }
    if (status > 0) return QXHresultDoStatus(status);
    HRESULT falha = S_OK;
    const int leitura =
        qx::PercorreRegistros(arquivo, [&](uint32_t posicao, const qx::EntryRecord& registro) {
          if (!PassaAntesDoComplemento(filtro, registro,
                                       qx::DataDoLancamento(mes.Value(), registro.cDia), filiais)) {
            return true;
          }
          bool contem = true;
          if (!complemento.Vazio()) {
            if (int erro = complemento.Contem(heap, registro.Complemento, &contem)) {
              falha = QXHresultDoStatus(erro);
              return false;
            }
          }
          if (!contem || !PassaChaves(filtro, registro, posicao)) return true;
          lancamentos->emplace_back();
          falha = qx::MontaLancamentoWeb(registro, mes, posicao, m_historico, tipoTexto,
                                         &lancamentos->back());
          return falha == S_OK;
        });
    heap.Fecha();
    const int fechamento = arquivo.Fecha();
    if (falha != S_OK) return falha;
    if (HRESULT hr = FalhaDoMes(leitura, fechamento); hr != S_OK) return hr;
  }
  return S_OK;
}

HRESULT CLancamentoBase::ListaWebRecentes(ULONG ulQtde, uint8_t tipoTexto,
                                          std::vector<_REG_LANCAMENTO_TARVOWEB_PS>* lancamentos) {
  CQXComPtr<IQXCN_Mestre> mestre;
  HRESULT hr = GetAcessoContabil()->GetICNMestre(mestre);
  if (FAILED(hr) || !mestre) return FAILED(hr) ? hr : E_POINTER;
  _REG_CN_CONFIGURACAOPS configuracao{};
  hr = mestre->LeConfiguracao(&configuracao);
  if (FAILED(hr)) return hr;
  mestre.reset();
  const CQXMesAno inicio = qx::MesDoLimite(configuracao.ulDataFinal);

  m_busca.dataInicialWeb = 0;
  m_busca.dataFinalWeb = 0;
  uint32_t existentes = 0;
  hr = ContaLancamentosVivos(m_strPastaEmpresa, m_dtInicialPeriodo.MesAno(),
                             m_dtFinalPeriodo.MesAno(), &existentes);
  if (hr != S_OK) return hr;
  const size_t limite = std::min<size_t>(existentes, ulQtde);

  for (CQXMesAno mes = std::min(inicio, qx::kUltimoMesArquivos);
       mes >= qx::kPrimeiroMesArquivos && lancamentos->size() < limite; mes = mes.Add(-1)) {
    CQXarq arquivo;
    // Months that were never made hold no entries and are not created on the
    // way down.
    const int abertura = arquivo.Abre(
        qx::NomeArquivoMes(m_strPastaEmpresa, qx::kPrefixoLancamentos, mes.Value()).c_str(), 'L',
        qx::kEntryRecordSize, false);
    if (abertura == ARQ_NAO_ENCONTRADO) continue;
    if (abertura > 0) return QXHresultDoStatus(abertura);
    HRESULT falha = S_OK;
    const int leitura =
        qx::PercorreRegistros(arquivo, [&](uint32_t posicao, const qx::EntryRecord& registro) {
          if (registro.cStatus == qx::kEntryDeleted) return true;
          lancamentos->emplace_back();
          falha = qx::MontaLancamentoWeb(registro, mes, posicao, m_historico, tipoTexto,
                                         &lancamentos->back());
          const uint32_t data = lancamentos->back().usData;
          if (lancamentos->size() == 1) m_busca.dataFinalWeb = data;
          if (lancamentos->size() == limite) m_busca.dataInicialWeb = data;
          return falha == S_OK && lancamentos->size() < limite;
        });
    const int fechamento = arquivo.Fecha();
    if (falha != S_OK) return falha;
    if (HRESULT falhaMes = FalhaDoMes(leitura, fechamento); falhaMes != S_OK) return falhaMes;
  }
  return S_OK;
}

HRESULT CLancamentoBase::GetRangeDatasTarvoWeb(uint16_t* pusDataInicial, uint16_t* pusDataFinal) {
  if (pusDataInicial == nullptr || pusDataFinal == nullptr) return E_POINTER;
  *pusDataInicial = static_cast<uint16_t>(m_busca.dataInicialWeb);
  *pusDataFinal = static_cast<uint16_t>(m_busca.dataFinalWeb);
  return S_OK;
}
