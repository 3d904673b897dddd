// The identity of a caller (company, user, session) and its initialisation:
// an object is initialised once OnInicializa has succeeded for the identity,
// and finalised when it is destroyed or initialised again.
#pragma once

#include <cstdint>
#include <string>

#include "contract/profiler_identity.h"
#include "platform/com_types.h"

class CQXInicializador : public CQXProfilerEmpresa {
 public:
  CQXInicializador() = default;
  CQXInicializador(const CQXInicializador&) = delete;
  CQXInicializador& operator=(const CQXInicializador&) = delete;
  ~CQXInicializador() override = default;

  // True once an initialisation succeeded, until Finaliza.
  bool EstaInicializado() const { return m_bInicializado; }
  // Finalises an object initialised before, fixes the identity (the company
  // text is Windows-1252) and runs OnInicializa; the object is initialised
  // when that does not fail. Gives OnInicializa's result.
  HRESULT Inicializa(const char* empresa, unsigned short usuario, uint32_t sessao);
  // Runs OnFinaliza for an initialised object and leaves it not initialised;
  // nothing for one that is not. The identity stays.
  void Finaliza();

  const char* GetEmpresa() override { return m_empresa.c_str(); }
  unsigned short GetUsuario() override { return m_usuario; }
  uint32_t GetNumeroSessao() override { return m_sessao; }

  // Drops whatever the object keeps read ahead; nothing at this level.
  virtual void OnResetBuffer() {}

 protected:
  virtual HRESULT OnInicializa() { return S_OK; }
  virtual void OnFinaliza() {}

 private:
  std::string m_empresa;
  unsigned short m_usuario = 0;
  uint32_t m_sessao = 0;
  bool m_bInicializado = false;
};
