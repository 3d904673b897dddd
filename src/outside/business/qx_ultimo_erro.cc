#include "outside/business/qx_ultimo_erro.h"

#include <cstdarg>
#include <cstring>

#include "outside/database/field_copy.h"
#include "values/text_format.h"

namespace {

constexpr int kFacilityRpc = 1;
constexpr int kFacilityWin32 = 7;
// Win32 errors of the RPC runtime (RPC_S_...).
constexpr int kPrimeiroErroRpc = 1700;
constexpr int kUltimoErroRpc = 1999;

bool EhErroRpc(HRESULT hr) {
  if (SUCCEEDED(hr)) return false;
  const int facility = (static_cast<uint32_t>(hr) >> 16) & 0x1FFF;
  const int code = static_cast<uint32_t>(hr) & 0xFFFF;
  return facility == kFacilityRpc ||
         (facility == kFacilityWin32 && code >= kPrimeiroErroRpc && code <= kUltimoErroRpc);
}

}  // namespace

void CQXDadosDF_Erro::CopiarPara(_REG_DF_ERROPS* registro) const {
  if (registro == nullptr) return;
  std::memset(registro, 0, sizeof(*registro));
  registro->hr = hr;
  registro->nCodigoErro = nCodigoErro;
  registro->lCodigoMensagem = lCodigoMensagem;
  registro->iRegistro = iRegistro;
  registro->iItem = iItem;
  registro->lCodigoCampo = lCodigoCampo;
  registro->nModuloMensagem = nModuloMensagem;
  registro->nTipoErro = nTipoErro;
  registro->usNumeroServidor = usNumeroServidor;
  qx::CopyToField(registro->cMensagem, strMensagem);
  qx::CopyToField(registro->szEmpresa, strEmpresa);
}

void CQXUltimoErro::SetErro(const CQXDadosDF_Erro& erro) { Keep(erro); }

void CQXUltimoErro::SetErro(const CQXDadosDF_Erro* erro) {
  if (erro != nullptr) Keep(*erro);
}

void CQXUltimoErro::SetErro(HRESULT codigoHr, int servidor, int32_t codigo, const char* fmt, ...) {
  CQXDadosDF_Erro erro;
  erro.hr = codigoHr;
  erro.usNumeroServidor = static_cast<uint16_t>(servidor);
  erro.nCodigoErro = codigo;
  if (fmt != nullptr) {
    va_list args;
    va_start(args, fmt);
    erro.strMensagem = qx::FormatTextV(fmt, args);
    va_end(args);
  }
  Keep(std::move(erro));
}

void CQXUltimoErro::SetErro(HRESULT codigoHr, int servidor, int32_t codigo) {
  CQXDadosDF_Erro erro;
  erro.hr = codigoHr;
  erro.usNumeroServidor = static_cast<uint16_t>(servidor);
  erro.nCodigoErro = codigo;
  Keep(std::move(erro));
}

void CQXUltimoErro::Keep(CQXDadosDF_Erro erro) {
  if (erro.strEmpresa.empty()) erro.strEmpresa = GetEmpresaErroVirtual();
  static_cast<CQXDadosDF_Erro&>(*this) = std::move(erro);
  if (EhErroRpc(hr)) OnErroRPC();
}
