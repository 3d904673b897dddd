#include "server/frame_support.h"

#include <cstddef>
#include <string>

#include "diagnostics/errno_codes.h"
#include "diagnostics/error_log.h"
#include "diagnostics/error_report.h"
#include "diagnostics/machine_faults.h"
#include "outside/business/qx_base_para_rotinas.h"
#include "platform/clock.h"
#include "platform/codepage.h"
#include "platform/fault_guard.h"
#include "platform/registry.h"
#include "server/last_fault.h"
#include "storage/folders/folders.h"

namespace qx {
namespace {

std::u16string Texto(const char16_t* texto) { return texto != nullptr ? texto : u""; }

bool EstruturaValida(const _REG_DF_INICIALIZAPS& registro) {
  return registro.szAplicativo[0] != '\0' && registro.szModuleName[0] != '\0' &&
         registro.szArquivoFonte[0] != '\0' && registro.ulLinhaFonte != 0 &&
         registro.cControle == 'B';
}

}  // namespace

HRESULT TrataFalhaMaquina(uint32_t codigo, const char* empresa, const FrameSite& site,
                          bool comPilha) {
  std::string pilha;
  const bool tratada = MachineFaultHandled(codigo);
  if (tratada) pilha = QXLastFaultStackText();
  GuardaUltimaFalha(codigo, tratada ? &pilha : nullptr);
  const HRESULT hr = HresultFromMachineFault(codigo);
  ReportaErro(E_QXCR_FALHA_INTERNA, hr, empresa, site.unidade, site.linha,
              comPilha ? pilha.c_str() : nullptr);
  return hr;
}

void TrataParametroInvalido(const FrameSite& site, const char16_t* expressao,
                            const char16_t* funcao, const char16_t* arquivo, unsigned linha) {
  const HRESULT hr = HresultFromCurrentErrno();
  const std::u16string texto = u"Expression = " + Texto(expressao) + u"\tFunction = " +
                               Texto(funcao) + u"\tFile = " + Texto(arquivo) + u"\tLine = " +
                               Cp1252ToUtf16(std::to_string(linha));
  CQXBaseParaRotinas* acesso = CQXBaseParaRotinas::GetAcessoServidoresDefault();
  ReportaErro(E_QXCR_FALHA_INTERNA, hr, acesso != nullptr ? acesso->GetEmpresa() : nullptr,
              site.unidade, site.linha, Utf16ToCp1252(texto).c_str());
  throw static_cast<int32_t>(hr);
}

void GravaLogFrame(IQXDF_Profiler* identidade, const FrameSite& site, const char* variavel,
                   const char* passo, HRESULT hr) {
  QXGravaLogHresult(identidade, site.nome, site.unidade, site.linha, variavel, passo, hr);
}

int64_t Agora100ns() {
  FILETIME agora;
  GetSystemTimeAsFileTime(&agora);
  return static_cast<int64_t>(FileTimeToU64(agora));
}

HRESULT VerificaRegistroInicializacao(const _REG_DF_INICIALIZAPS& registro,
                                      const char** nomeCodigo) {
  if (registro.usVersaoTarvo != kVersaoTarvo) {
    *nomeCodigo = "E_QXCR_VERSAO_INCOMPATIVEL";
    return E_QXCR_VERSAO_INCOMPATIVEL;
  }
  uint32_t desabilita = 0;
  if (RegGetDword(std::string(kSuiteKey), "DesabilitaControleInicializacao", &desabilita) !=
      ERROR_SUCCESS) {
    desabilita = 0;
  }
  if (desabilita != 0) return S_OK;
  if (CrcInicializacao(registro) != registro.uiCRC) {
    *nomeCodigo = "E_QXCR_CRC_INICIALIZACAO_INVALIDO";
    return E_QXCR_CRC_INICIALIZACAO_INVALIDO;
  }
  if (!EstruturaValida(registro)) {
    *nomeCodigo = "E_QXCR_ESTRUTURA_INICIALIZACAO_INVALIDA";
    return E_QXCR_ESTRUTURA_INICIALIZACAO_INVALIDA;
  }
  return S_OK;
}

}  // namespace qx
