// Document management in a save: the description of an entry's document and
// the notification of a change to an existing entry.
#include <cstring>
#include <string>

#include "lancamento/gravacao/gravacao.h"
#include "lancamento/gravacao/historico_texto.h"
#include "lancamento/lancamento_base.h"
#include "lancamento/meses/arquivo_mes.h"
#include "values/entry_key.h"

namespace qx {
namespace {

// The name of an account of the chart; nothing for account 0 or when the
// history does not ask for it.
HRESULT NomeDaConta(CConexaoPlano& plano, int32_t conta, bool usada, std::string* nome) {
  nome->clear();
  if (!usada || conta == 0) return S_OK;
  _RegContaPS registro{};
  const HRESULT hr = plano.Le(conta, &registro);
  if (FAILED(hr)) return hr;
  nome->assign(registro.szNome, strnlen(registro.szNome, sizeof registro.szNome));
  return S_OK;
}

}  // namespace

HRESULT DescreveDocumento(const FontesDocumento& fontes, const EntryRecord& registro,
                          CQXMesAno mesAno, CGDDoc* documento) {
  const CQXData data = DataDoLancamento(mesAno.Value(), registro.cDia);
  std::string historico;
  if (registro.CodHis != 0) {
    _RegHistoricoPS lido{};
    const HRESULT hr = fontes.historico.Le(registro.CodHis, &lido);
    if (FAILED(hr)) return hr;
    historico.assign(lido.szTexto, strnlen(lido.szTexto, sizeof lido.szTexto));
  }
  char complemento[sizeof(LancamentoAtual::szComplemento)] = {};
  if (registro.Complemento > 0) {
    if (int status = fontes.objeto.LeComplemento(data, static_cast<uint32_t>(registro.Complemento),
                                                 complemento)) {
      return QXHresultDoStatus(status);
    }
  }
  const int contas = ContasDoHistorico(historico);
  std::string debito, credito;
  HRESULT hr = NomeDaConta(fontes.plano, registro.Debito, contas & kHistoricoUsaDebito, &debito);
  if (FAILED(hr)) return hr;
  hr = NomeDaConta(fontes.plano, registro.Credito, contas & kHistoricoUsaCredito, &credito);
  if (FAILED(hr)) return hr;

  documento->SetDescricao(ComporHistorico(historico, complemento, debito, credito));
  documento->SetFilial(registro.Filial);
  documento->SetData(data);
  documento->SetDocumento(registro.Documento);
  return S_OK;
}

HRESULT Gravacao::NotificaGed(uint32_t indlan, const EntryRecord& depois,
                              const EntryRecord& antes) const {
  CGDIntegracaoSrv* ged = c_.objeto.GetIntegracaoGed();
  if (ged == nullptr) return S_OK;
  CGDDoc novo, antigo;
  HRESULT hr = DescreveDocumento(c_.documento, depois, mesAno_, &novo);
  if (FAILED(hr)) return hr;
  hr = DescreveDocumento(c_.documento, antes, mesAno_, &antigo);
  if (FAILED(hr)) return hr;
  return ged->OnAlteracaoReg(MakeChaveComposta(static_cast<int32_t>(indlan), mesAno_), novo,
                             antigo);
}

}  // namespace qx
