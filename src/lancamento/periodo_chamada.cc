#include "lancamento/periodo_chamada.h"

#include "contract/entry_messages.h"
#include "diagnostics/error_log.h"
#include "lancamento/lancamento_base.h"
#include "values/br_text.h"

namespace qx {

namespace {

// The innermost operation running on this thread.
thread_local PeriodoDaChamada* t_chamada = nullptr;

}  // namespace

PeriodoDaChamada::PeriodoDaChamada(CLancamentoBase& objeto)
    : objeto_(objeto),
      anterior_(t_chamada),
      externa_(t_chamada != nullptr && &t_chamada->objeto_ == &objeto ? t_chamada : nullptr) {
  t_chamada = this;
}

PeriodoDaChamada::~PeriodoDaChamada() { t_chamada = anterior_; }

HRESULT PeriodoDaChamada::Le(const PeriodoFechado** periodo) {
  if (externa_ != nullptr) return externa_->Le(periodo);
  if (!periodo_ && SUCCEEDED(leitura_)) {
    CQXComPtr<IQXCN_Mestre> mestre;
    leitura_ = objeto_.GetAcessoContabil()->GetICNMestre(mestre);
    if (SUCCEEDED(leitura_) && !mestre) leitura_ = E_POINTER;
    PeriodoFechado lido;
    if (SUCCEEDED(leitura_)) leitura_ = mestre->LePeriodoFechado(&lido);
    if (SUCCEEDED(leitura_)) periodo_ = lido;
  }
  *periodo = periodo_ ? &*periodo_ : nullptr;
  return periodo_ ? S_OK : leitura_;
}

HRESULT RecusaPeriodoFechado(CLancamentoBase& objeto, CQXData data) {
  std::optional<PeriodoDaChamada> propria;
  PeriodoDaChamada* chamada = t_chamada;
  if (chamada == nullptr || &chamada->objeto_ != &objeto) chamada = &propria.emplace(objeto);
  const PeriodoFechado* periodo = nullptr;
  if (const HRESULT hr = chamada->Le(&periodo); FAILED(hr)) {
    QXGravaLogHresult(&objeto, "qx::RecusaPeriodoFechado", "LancamentoBase", __LINE__, "hr",
                      "mestre->LePeriodoFechado(&periodo)", hr);
    return hr;
  }
  if (!periodo->Contem(data.Value())) return S_OK;
  QXGravaLogErro(
      &objeto, "qx::RecusaPeriodoFechado", "LancamentoBase", __LINE__,
      "%s\tLan\xE7"
      "amento de %s no per\xED"
      "odo fechado %s; %s",
      LinhaLogHresult("hr", "RecusaPeriodoFechado(objeto,data)", kHrPeriodoFechado).c_str(),
      DateText(data).c_str(), DescrevePeriodoFechado(*periodo).c_str(), kComoReabrir);
  return kHrPeriodoFechado;
}

}  // namespace qx
