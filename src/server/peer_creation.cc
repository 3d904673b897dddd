#include "server/peer_creation.h"

#include <string>

#include "diagnostics/error_log.h"
#include "platform/clock.h"
#include "server/dcom_security.h"
#include "server/event_report.h"
#include "server/reachability.h"
#include "values/text_format.h"

namespace qx {
namespace {

constexpr const char* kUnidade = "QXComPtr";
constexpr const char* kFuncao = "QXCoCreateInstance";

bool ServidorIndisponivel(HRESULT hr) {
  return hr == RPC_S_SERVER_UNAVAILABLE || hr == CO_E_SERVER_EXEC_FAILURE ||
         hr == CO_E_SERVER_START_TIMEOUT;
}

// The warning and the reachability report after a first attempt that found
// the server unavailable.
void ReportaPrimeiraFalha(HRESULT hr, REFCLSID rclsid) {
  ReportaEvento(EventType::kWarning, hr, rclsid,
                "\n\nA primeira tentativa de instanciar o servidor falhou");
  std::string alcance;
  const HRESULT teste = TestaAlcance(rclsid, &alcance);
  ReportaEvento(EventType::kError, FAILED(teste) ? teste : hr, rclsid, alcance);
}

}  // namespace

HRESULT CriaComRetentativa(const OperacoesCriacao& operacoes, REFCLSID rclsid, IUnknown* pUnkOuter,
                           DWORD dwClsCtx, REFIID riid, void** ppv, DWORD flags) {
  if (ppv == nullptr) return E_POINTER;
  *ppv = nullptr;
  const AutenticacaoDcom autenticacao = ParametrosAutenticacao();
  COAUTHINFO cai = {autenticacao.servico,        RPC_C_AUTHZ_NONE, nullptr,  autenticacao.nivel,
                    RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,          EOAC_NONE};
  COSERVERINFO csi = {0, nullptr, &cai, 0};
  MULTI_QI mqi = {&riid, nullptr, S_OK};

  HRESULT hr = E_FAIL;
  for (int n = 0; n < kTentativasCriacao; ++n) {
    hr = operacoes.cria(rclsid, pUnkOuter, dwClsCtx, &csi, 1, &mqi);
    if (FAILED(hr)) {
      QXGravaLogHresult(nullptr, kFuncao, kUnidade, __LINE__, "hr",
                        "CoCreateInstanceEx(rclsid, pUnkOuter, dwClsCtx, &csi, 1, &mqi)", hr);
    }
    if (SUCCEEDED(hr) && n >= 2) {
      ReportaEvento(EventType::kWarning, hr, rclsid,
                    FormatText("Instancia estabelecida com sucesso na vez %d", n));
    }
    if (hr == E_INVALIDARG) {
      hr = operacoes.cria(rclsid, pUnkOuter, dwClsCtx, nullptr, 1, &mqi);
      if (FAILED(hr)) {
        QXGravaLogHresult(nullptr, kFuncao, kUnidade, __LINE__, "hr",
                          "CoCreateInstanceEx(rclsid, pUnkOuter, dwClsCtx, nullptr, 1, &mqi)", hr);
        return hr;
      }
      break;
    }
    if (!ServidorIndisponivel(hr) || (flags & eQXCCI_RETRY) == 0) break;
    if (n == 0 && (flags & eQXCCI_LOG_FAILURE) != 0) ReportaPrimeiraFalha(hr, rclsid);
    // No wait after the last attempt: nothing follows it.
    if (n + 1 < kTentativasCriacao) operacoes.espera(kEsperaTentativaMs);
  }

  if (SUCCEEDED(hr)) {
    QXCoSetProxyBlanket(mqi.pItf);
    *ppv = mqi.pItf;
  } else if ((flags & eQXCCI_LOG_FAILURE) != 0) {
    ReportaEvento(EventType::kError, hr, rclsid, "\n\nErro instanciando servidor");
  }
  return hr;
}

}  // namespace qx

HRESULT QXCoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsCtx, REFIID riid,
                           void** ppv, DWORD flags) {
  static const qx::OperacoesCriacao operacoes{CoCreateInstanceEx, Sleep};
  return qx::CriaComRetentativa(operacoes, rclsid, pUnkOuter, dwClsCtx, riid, ppv, flags);
}

HRESULT QXCoCreateInstance(REFCLSID rclsid, REFIID riid, void** ppv) {
  return QXCoCreateInstance(rclsid, nullptr, CLSCTX_ALL, riid, ppv,
                            eQXCCI_LOG_FAILURE | eQXCCI_RETRY);
}
