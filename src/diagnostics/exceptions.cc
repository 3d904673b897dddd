#include "diagnostics/exceptions.h"

#include <cstdio>
#include <cstring>
#include <utility>

CQXException::CQXException(std::string mensagem, int32_t numero, int32_t erroSistema,
                           int32_t codigoMensagem)
    : m_lCodigoMensagem(codigoMensagem),
      m_lNumero(numero),
      m_lErroSistema(erroSistema),
      m_strMensagem(std::move(mensagem)) {}

std::string CQXException::TextoRelatorio() const {
  char buffer[512];
  std::string texto = m_strMensagem;
  if (texto.empty()) {
    std::snprintf(buffer, sizeof buffer,
                  "Erro desconhecido encontrado. C\xF3"
                  "digo (%d)",
                  static_cast<int>(m_lCodigoMensagem));
    texto = buffer;
  }
  if (m_lErroSistema != 0) {
    std::snprintf(buffer, sizeof buffer, "\nErro do SO: %d - %s", static_cast<int>(m_lErroSistema),
                  std::strerror(m_lErroSistema));
    texto += buffer;
  }
  return texto;
}
