// The removal of imported entries, all or nothing at the level of its checks:
// every listed live entry must come from an import and lie in a period open
// to removal, or nothing is removed and the reasons go back to the client.
#include <algorithm>
#include <cstring>
#include <set>
#include <span>
#include <utility>
#include <vector>

#include "contract/entry_messages.h"
#include "lancamento/buscas/busca_comum.h"
#include "lancamento/exclusao/exclusao.h"
#include "lancamento/lancamento_base.h"
#include "lancamento/periodo_chamada.h"
#include "platform/task_memory.h"
#include "storage/month_name.h"
#include "storage/qx_arq_ex.h"

namespace {

struct HelperLanExcluir {
  uint32_t posicao;
  CQXMesAno mes;
};

// The entries already taken up by the request, as (month, position): a month
// listed twice, or a position listed twice, counts each entry once.
using Vistos = std::set<std::pair<uint16_t, uint32_t>>;

// The periods of the master's configuration in which removal is refused
// (bloqueio) and, when set, the only one in which it is allowed (permissao).
class PeriodosRemocao {
 public:
  explicit PeriodosRemocao(const _REG_CN_CONFIGURACAOPS& c) : m_c(c) {}
  bool Bloqueada(CQXData data) const {
    const uint32_t d = data.Value();
    if (m_c.ulDataInicialBloqueada != 0 && d >= m_c.ulDataInicialBloqueada &&
        d <= m_c.ulDataFinalBloqueada) {
      return true;
    }
    return m_c.ulDataInicialPermitida != 0 &&
           (d < m_c.ulDataInicialPermitida || d > m_c.ulDataFinalPermitida);
  }

 private:
  _REG_CN_CONFIGURACAOPS m_c;
};

bool Listada(const CNLAN_EXCLUSAO_MES_IMP_PS& mes, uint32_t posicao) {
  if (mes.nQtdDocs == 0 || mes.pDocsLan == nullptr) return false;
  return std::binary_search(mes.pDocsLan, mes.pDocsLan + mes.nQtdDocs,
                            static_cast<int32_t>(posicao));
}

// Checks the listed entries of one month: each becomes a removal or an error.
// A missing month file is skipped; other open and read failures are returned
// in the failure form.
HRESULT VerificaMes(const std::string& pasta, const CNLAN_EXCLUSAO_MES_IMP_PS& pedido,
                    const PeriodosRemocao& periodos, Vistos* vistos,
                    std::vector<HelperLanExcluir>* remover,
                    std::vector<CNLAN_ERRO_EXCLUCAO_IMP_PS>* erros) {
  const CQXMesAno mes(pedido.iMesAno);
  CQXArqEx arquivo;
  const std::string caminho = qx::NomeArquivoMes(pasta, qx::kPrefixoLancamentos, mes.Value());
  const int abertura = arquivo.Abre(caminho.c_str(), 'L', qx::kEntryRecordSize, false, true);
  if (abertura == ARQ_NAO_ENCONTRADO) return S_OK;
  if (abertura != ARQ_OK) return QXHresultDoStatus(abertura);
  uint32_t quantidade = 0;
  if (int status = arquivo.ContaRegistros(true, &quantidade)) {
    arquivo.Fecha();
    return QXHresultDoStatus(status);
  }
  for (uint32_t posicao = 1; posicao <= quantidade; ++posicao) {
    qx::EntryRecord registro;
    if (int status = arquivo.Le(posicao, &registro)) {
      arquivo.Fecha();
      return QXHresultDoStatus(status);
    }
    if (registro.cStatus == qx::kEntryDeleted || !Listada(pedido, posicao)) continue;
    if (!vistos->insert({mes.Value(), posicao}).second) continue;
    CNLAN_ERRO_EXCLUCAO_IMP_PS erro{};
    erro.lIndLan = static_cast<int32_t>(posicao);
    erro.iMesAno = mes.Value();
    if (qx::OriginModule(registro.lChaveModulo) != qx::kImportModule) {
      erro.eErro = CNLAN_EEI_NAO_FOI_IMPORTADO;
      erros->push_back(erro);
    } else if (periodos.Bloqueada(qx::DataDoLancamento(mes.Value(), registro.cDia))) {
      erro.eErro = CNLAN_EEI_PERIODO_BLOQUEADO;
      erros->push_back(erro);
    } else {
      remover->push_back({posicao, mes});
    }
  }
  arquivo.Fecha();
  return S_OK;
}

// Hands the errors to the client in task memory.
HRESULT EntregaErros(const std::vector<CNLAN_ERRO_EXCLUCAO_IMP_PS>& erros,
                     CNLAN_RESULTADO_EXCLUSAO_IMP_PS* resultado) {
  const size_t bytes = erros.size() * sizeof(CNLAN_ERRO_EXCLUCAO_IMP_PS);
  auto* bloco = static_cast<CNLAN_ERRO_EXCLUCAO_IMP_PS*>(CoTaskMemAlloc(bytes));
  if (bloco == nullptr) return E_OUTOFMEMORY;
  std::memset(bloco, 0, bytes);
  std::copy(erros.begin(), erros.end(), bloco);
  resultado->nQtdErros = static_cast<uint32_t>(erros.size());
  resultado->pErros = bloco;
  return S_OK;
}

// Removals per operation: each group goes whole or not at all, and its intent
// and change log fit in the free-space reserve of a full disk.
constexpr size_t kPorOperacao = 128;

// Removes a group of entries as one operation, then tells document
// management of each; *excluidos counts those removed. 0, or the first
// failure: of the file work or the change log (the group is then taken back),
// or of document management (the group stays removed).
HRESULT ExcluiGrupo(CLancamentoBase& objeto, std::span<const HelperLanExcluir> grupo,
                    uint32_t* excluidos) {
  qx::Espaco espaco{0, 0, false};
  for (size_t i = 0; i < grupo.size(); ++i) espaco += qx::EspacoDaExclusao(objeto.ComplementoAtual());
  if (const int status = qx::AceitaGravacao(objeto, espaco)) return status;
  qx::Operacao operacao(objeto, qx::kOperacaoImportacao);
  if (const int status = operacao.Inicia()) return status;
  std::vector<HelperLanExcluir> feitos;
  HRESULT hr = S_OK;
  for (const HelperLanExcluir& l : grupo) {
    const qx::Remocao remocao = qx::ExcluiNaOperacao(objeto, static_cast<int32_t>(l.posicao),
                                                     l.mes.Value(), operacao.log());
    if (remocao.excluidoAgora) feitos.push_back(l);
    if (remocao.status != ARQ_OK && remocao.status != qx::kMensagemLancamentoInexistente) {
      hr = remocao.status;
      break;
    }
  }
  if (hr == S_OK) hr = operacao.Conclui();
  if (hr != S_OK) return operacao.Desfaz() ? hr : qx::kHrOperacaoInterrompida;
  *excluidos += static_cast<uint32_t>(feitos.size());
  for (const HelperLanExcluir& l : feitos) {
    const HRESULT ged =
        qx::InformaExclusaoGed(objeto, static_cast<int32_t>(l.posicao), l.mes.Value());
    if (hr == S_OK) hr = ged;
  }
  return hr;
}

}  // namespace

HRESULT CLancamentoBase::ExclusaoImportacao(CNLAN_EXCLUSAO_IMP_PS params,
                                            CNLAN_RESULTADO_EXCLUSAO_IMP_PS* pRes) {
  if (pRes == nullptr) return E_POINTER;
  *pRes = CNLAN_RESULTADO_EXCLUSAO_IMP_PS{};
  if (params.nQtdMeses > 0 && params.pMeses == nullptr) return E_POINTER;
  // The removals below read the closed period once, for all of them.
  const qx::PeriodoDaChamada periodo(*this);
  CQXComPtr<IQXCN_Mestre> mestre;
  HRESULT hr = GetAcessoContabil()->GetICNMestre(mestre);
  if (FAILED(hr) || !mestre) return FAILED(hr) ? hr : E_POINTER;
  _REG_CN_CONFIGURACAOPS configuracao{};
  hr = mestre->LeConfiguracao(&configuracao);
  mestre.reset();
  if (FAILED(hr)) return hr;
  const PeriodosRemocao periodos(configuracao);

  Vistos vistos;
  std::vector<HelperLanExcluir> remover;
  std::vector<CNLAN_ERRO_EXCLUCAO_IMP_PS> erros;
  for (uint32_t i = 0; i < params.nQtdMeses; ++i) {
    hr = VerificaMes(m_strPastaEmpresa, params.pMeses[i], periodos, &vistos, &remover, &erros);
    if (hr != S_OK) return hr;
  }
  if (!erros.empty()) return EntregaErros(erros, pRes);

  for (size_t inicio = 0; inicio < remover.size(); inicio += kPorOperacao) {
    const size_t fim = std::min(remover.size(), inicio + kPorOperacao);
    hr = ExcluiGrupo(*this, {remover.data() + inicio, fim - inicio}, &pRes->nQtdExcluidos);
    // A group that did not happen stops the rest; the count says how many
    // are gone, and a plain status comes back in the failure form.
    if (hr != S_OK) return hr < 0 ? hr : QXHresultDoStatus(hr);
  }
  return S_OK;
}
