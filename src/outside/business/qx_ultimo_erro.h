// The last error of an object: what failed, with which code and message, for
// which company. A client fetches it as the record _REG_DF_ERROPS.
#pragma once

#include <cstdint>
#include <string>

#include "contract/reg_erro.h"
#include "platform/com_types.h"

// One error. Texts are Windows-1252.
class CQXDadosDF_Erro {
 public:
  HRESULT hr = S_OK;
  int32_t nCodigoErro = 0;
  int32_t lCodigoMensagem = 0;
  int32_t iRegistro = 0;
  int32_t iItem = 0;
  int32_t lCodigoCampo = 0;
  uint16_t nModuloMensagem = 0;
  int16_t nTipoErro = 0;
  uint16_t usNumeroServidor = 0;
  std::string strMensagem;
  std::string strEmpresa;

  // Fills the whole record: the numbers, the message and the company cut to
  // their fields with a terminating zero, every other byte zero. A null
  // record is left alone.
  void CopiarPara(_REG_DF_ERROPS* registro) const;
  void Limpa() { *this = CQXDadosDF_Erro(); }
};

// The holder of an object's last error. The error is a private base, so that
// the fields of a derived class never mix with its names.
class CQXUltimoErro : private CQXDadosDF_Erro {
 public:
  CQXUltimoErro() = default;
  CQXUltimoErro(const CQXUltimoErro&) = delete;
  CQXUltimoErro& operator=(const CQXUltimoErro&) = delete;
  virtual ~CQXUltimoErro() = default;

  // Called by SetErro when the code is a failure of a remote call (facility
  // RPC, or a Win32 RPC error); the holder itself does nothing more.
  virtual void OnErroRPC() {}
  // Keep a whole error, with this object's company when it names none.
  virtual void SetErro(const CQXDadosDF_Erro& erro);
  virtual void SetErro(const CQXDadosDF_Erro* erro);
  // Keep a code, the number of the server that failed and an error number,
  // with a message formatted from fmt, or without one.
  virtual void SetErro(HRESULT hr, int servidor, int32_t codigo, const char* fmt, ...)
      __attribute__((format(printf, 5, 6)));
  virtual void SetErro(HRESULT hr, int servidor, int32_t codigo);
  virtual const CQXDadosDF_Erro& GetErro() const { return *this; }
  virtual CQXDadosDF_Erro& GetErro() { return *this; }
  virtual void LimpaErro() { Limpa(); }
  virtual HRESULT GetUltimoHR() const { return hr; }
  virtual uint16_t GetNumeroServidorUltimoHR() const { return usNumeroServidor; }
  // The company named in the errors kept here.
  virtual const char* GetEmpresaErroVirtual() { return ""; }

 private:
  void Keep(CQXDadosDF_Erro erro);
};
