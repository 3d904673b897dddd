// The change-log report of one entry change: its image and its complement
// text. A failing report only reaches the error log; the change stands.
#include <cstring>

#include "diagnostics/error_log.h"
#include "entries/lancamento_base.h"
#include "entries/registro_log.h"

namespace {

constexpr char kUnidade[] = "LancamentoBase";
constexpr char kFuncao[] = "CLancamentoBase::GravaLog";

}  // namespace

void CLancamentoBase::GravaLog(int32_t chave, char servico, const qx::EntryRecord& registro,
                               const char* complemento, CQXData data) {
  // A code of -1 has already been reported by the service that gave it.
  const auto falha = [this](int linha, const char* passo, HRESULT hr) {
    if (hr != static_cast<HRESULT>(0xFFFFFFFFu)) {
      QXGravaLogHresult(this, kFuncao, kUnidade, linha, "hr", passo, hr);
    }
  };
  CQXComPtr<IQXDF_Log> pILog;
  HRESULT hr = GetAcessoEmpresarial()->GetIDFLog(pILog);
  if (FAILED(hr) || !pILog) {
    falha(__LINE__, "GetAcessoEmpresarial()->GetIDFLog(pILog)", FAILED(hr) ? hr : E_POINTER);
    return;
  }
  const RegLanAtual RegTmpLog = qx::ImagemLog(registro, data);
  const char* RegTmpCpl = complemento != nullptr ? complemento : "";
  // Both records go in one transaction; each still has its own result.
  const RegistroLog registros[2] = {
      {chave, qx::kLogTipoLancamento, servico, sizeof(RegLanAtual), &RegTmpLog},
      {chave, qx::kLogTipoComplemento, servico, static_cast<uint32_t>(std::strlen(RegTmpCpl)),
       RegTmpCpl}};
  HRESULT resultados[2];
  pILog->GravaVarios(GetNumeroSessao(), registros, 2, resultados);
  if (FAILED(resultados[0])) {
    falha(__LINE__,
          "pILog->Grava(GetNumeroSessao(),chave,24,servico,sizeof(RegLanAtual),RegTmpLog)",
          resultados[0]);
  }
  if (FAILED(resultados[1])) {
    falha(__LINE__,
          "pILog->Grava(GetNumeroSessao(),chave,8,servico,strlen(complemento), RegTmpCpl)",
          resultados[1]);
  }
}
