// The sending of the process's usage analytics at its end.
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "diagnostics/error_log.h"
#include "outside/business/qx_base_para_rotinas.h"
#include "platform/clock.h"
#include "platform/com_runtime.h"
#include "platform/process_info.h"
#include "platform/registry.h"
#include "platform/task_memory.h"
#include "server/qx_analytics.h"
#include "storage/folders/folders.h"

namespace {

constexpr const char* kUnidade = "QXAnalytics";
constexpr const char* kFuncao = "CQXAnalytics::Envia";
// The analytics server itself sends nothing about its own calls.
constexpr const char* kServidorAnalytics = "vozovadavizo";

// A copy of the text in task memory, or null when memory is short.
char* TextoTarefa(const std::string& texto) {
  auto* copia = static_cast<char*>(CoTaskMemAlloc(texto.size() + 1));
  if (copia != nullptr) std::memcpy(copia, texto.c_str(), texto.size() + 1);
  return copia;
}

void LiberaTextos(std::vector<_REG_CR_ANALYTICSPS>& registros) {
  for (_REG_CR_ANALYTICSPS& registro : registros) {
    for (char* texto : {registro.pszEmpresa, registro.pszAplicativo, registro.pszOrigem,
                        registro.pszClasse, registro.pszMetodo}) {
      CoTaskMemFree(texto);
    }
  }
  registros.clear();
}

// One figure; false when the memory of its texts cannot be had.
bool MontaRegistro(const qx::CallKey& chave, const qx::CallFigures& valores,
                   const std::string& origem, const SYSTEMTIME& agora,
                   _REG_CR_ANALYTICSPS* registro) {
  *registro = _REG_CR_ANALYTICSPS{};
  registro->pszEmpresa = TextoTarefa(chave.empresa);
  registro->pszAplicativo = TextoTarefa(chave.aplicativo);
  registro->pszOrigem = TextoTarefa(origem);
  registro->pszClasse = TextoTarefa(chave.classe);
  registro->pszMetodo = TextoTarefa(chave.metodo);
  registro->stDataHora = agora;
  registro->i64Quantidade = valores.count;
  registro->i64Total = valores.totalMs;
  registro->i64Maior = valores.longestMs;
  registro->i64Menor = valores.shortestMs.value_or(0);
  registro->ulUsuario = chave.usuario;
  return registro->pszEmpresa != nullptr && registro->pszAplicativo != nullptr &&
         registro->pszOrigem != nullptr && registro->pszClasse != nullptr &&
         registro->pszMetodo != nullptr;
}

void Reporta(IQXDF_Profiler* identidade, const char* passo, HRESULT hr) {
  QXGravaLogHresult(identidade, kFuncao, kUnidade, __LINE__, "hr", passo, hr);
}

}  // namespace

bool CQXAnalytics::Ativado() const {
  uint32_t ativado = 0;
  if (RegGetDword(std::string(qx::kSuiteKey), "AnalyticsAtivado", &ativado) != ERROR_SUCCESS) {
    ativado = 0;
  }
  return ativado != 0 && !qx::InstallationFolder(qx::kModuloInstalacao, "").empty();
}

void CQXAnalytics::Envia() {
  std::map<std::string, std::vector<std::pair<qx::CallKey, qx::CallFigures>>> porEmpresa;
  m_estatisticas.ForEach([&](const qx::CallKey& chave, const qx::CallFigures& valores) {
    porEmpresa[chave.empresa].emplace_back(chave, valores);
  });
  if (porEmpresa.empty() || !Ativado() || qx::ProcessBaseName() == kServidorAnalytics) return;

  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  CQXBaseParaRotinas acesso;
  acesso.SetUsaConexaoDefault();
  HRESULT hr = acesso.Inicializa("ANALYTICS_SEM_EMPRESA", 65535, 0);
  if (FAILED(hr)) Reporta(&acesso, "Inicializa()", hr);
  const SYSTEMTIME agora = qx::CurrentDateTime();
  for (const auto& [empresa, folhas] : porEmpresa) {
    if (FAILED(hr)) break;
    CQXComPtr<IQXCR_Analytics> servico;
    hr = acesso.GetAcessoCore()->GetICRAnalytics(servico);
    if (FAILED(hr) || !servico) {
      Reporta(&acesso, "GetICRAnalytics()", FAILED(hr) ? hr : E_POINTER);
      break;
    }
    std::vector<_REG_CR_ANALYTICSPS> registros(folhas.size());
    bool montados = true;
    for (size_t i = 0; i < folhas.size() && montados; ++i) {
      montados = MontaRegistro(folhas[i].first, folhas[i].second, m_origem, agora, &registros[i]);
    }
    // A company that cannot be sent leaves the others to be sent.
    const HRESULT envio =
        montados ? servico->Grava(static_cast<uint32_t>(registros.size()), registros.data())
                 : E_OUTOFMEMORY;
    if (FAILED(envio)) Reporta(&acesso, "pAnalytics->Grava()", envio);
    LiberaTextos(registros);
  }
  acesso.Finaliza();
  CoUninitialize();
}
