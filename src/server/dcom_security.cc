#include "server/dcom_security.h"

#include <atomic>
#include <string>

#include "diagnostics/error_log.h"
#include "platform/registry.h"
#include "storage/folders/folders.h"

namespace qx {
namespace {

constexpr const char* kUnidade = "QXComPtr";

std::atomic<bool> g_bSemAutenticacao{false};

}  // namespace

void LeSemAutenticacao() {
  uint32_t valor = 0;
  if (RegGetDword(std::string(kSuiteKey), "DesabilitaAutenticacaoDCOM", &valor) != ERROR_SUCCESS) {
    valor = 0;
  }
  g_bSemAutenticacao = valor != 0;
}

bool SemAutenticacao() { return g_bSemAutenticacao.load(); }

AutenticacaoDcom ParametrosAutenticacao() {
  return SemAutenticacao() ? AutenticacaoDcom{RPC_C_AUTHN_NONE, RPC_C_AUTHN_LEVEL_NONE}
                           : AutenticacaoDcom{RPC_C_AUTHN_WINNT, RPC_C_AUTHN_LEVEL_DEFAULT};
}

}  // namespace qx

HRESULT QXCoInitializeSecurity() {
  const HRESULT hr =
      CoInitializeSecurity(nullptr, -1, nullptr, nullptr, qx::ParametrosAutenticacao().nivel,
                           RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
  if (FAILED(hr)) {
    CQXProfilerEmpresa vazio("", 0, 0);
    QXGravaLogHresult(&vazio, "QXCoInitializeSecurity", qx::kUnidade, __LINE__, "hr",
                      "CoInitializeSecurity(0, -1, nullptr, nullptr, g_bSemAutenticacao ? "
                      "RPC_C_AUTHN_LEVEL_NONE : RPC_C_AUTHN_LEVEL_DEFAULT, "
                      "RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr)",
                      hr);
  }
  return hr;
}

HRESULT QXCoSetProxyBlanket(IUnknown* pProxy) {
  const qx::AutenticacaoDcom autenticacao = qx::ParametrosAutenticacao();
  const HRESULT hr =
      CoSetProxyBlanket(pProxy, autenticacao.servico, RPC_C_AUTHZ_NONE, nullptr, autenticacao.nivel,
                        RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
  if (FAILED(hr) && hr != E_NOINTERFACE) {
    QXGravaLogHresult(nullptr, "QXCoSetProxyBlanket", qx::kUnidade, __LINE__, "hr",
                      "CoSetProxyBlanket(pProxy, g_bSemAutenticacao ? RPC_C_AUTHN_NONE : "
                      "RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, g_bSemAutenticacao ? "
                      "RPC_C_AUTHN_LEVEL_NONE : RPC_C_AUTHN_LEVEL_DEFAULT, "
                      "RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE)",
                      hr);
  }
  return hr;
}
