// What a failed save takes back beyond its files, whose writes the operation
// takes back from its intent.
#include "diagnostics/error_log.h"
#include "lancamento/gravacao/gravacao.h"
#include "lancamento/lancamento_base.h"

namespace qx {
namespace {

constexpr char kUnidade[] = "LancamentoBase";

}  // namespace

void Gravacao::Desfaz() {
  if (gedNotificado_ != 0) {
    // The stored record is the old one again; document management hears so.
    if (const HRESULT hr = NotificaGed(gedNotificado_, anterior_, registro_); FAILED(hr)) {
      QXGravaLogHresult(&c_.objeto, "CLancamentoBase::Grava", kUnidade, __LINE__, "hr",
                        "m_integGed.OnAlteracaoReg(lChaveComposta, regAnterior, regNovo)", hr);
    }
  }
  // The change log hears what it hears of a save whose record write fails.
  if (logDoRegistro_ != SIZE_MAX) log_.Descarta(logDoRegistro_, logFim_);
}

}  // namespace qx
