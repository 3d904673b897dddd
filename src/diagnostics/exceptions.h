// The server's own exception classes.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

#include "platform/com_types.h"
#include "platform/exception.h"

// A failure with a message: thrown by pointer (throw new CQXException(...)),
// released by the handler with Delete().
class CQXException : public CException {
 public:
  // erroSistema is the system's error number at the throw (errno here), 0 for none.
  CQXException(std::string mensagem, int32_t numero, int32_t erroSistema,
               int32_t codigoMensagem = 0);

  // The message text, or "Erro desconhecido encontrado. Código (<code>)" when
  // it is empty, followed by "\nErro do SO: <n> - <system text>" when there is
  // a system error. Windows-1252 text.
  std::string TextoRelatorio() const;

  int32_t m_lCodigoMensagem;
  int32_t m_lNumero;
  int32_t m_lErroSistema;
  std::string m_strMensagem;
};

// A failure thrown by value whose first field is its HRESULT; the rest is
// detail for other parts of the suite.
class CQXExceptionEx {
 public:
  explicit CQXExceptionEx(HRESULT hr, int32_t codigoMensagem = 0, std::string mensagem = {})
      : m_hr(hr), m_lCodigoMensagem(codigoMensagem), m_strMensagem(std::move(mensagem)) {}

  HRESULT m_hr;
  int32_t m_lCodigoMensagem;
  std::string m_strMensagem;
};

// Marker type of the machine-fault handling.
class CQXSEH {};
