#pragma once
// The HTTP server of qxweb (cpp-httplib): the pages of the table in
// paginas.h, each in three forms (?formato=json, ?formato=csv&tabela=NOME),
// read-only, behind the rules of seguranca.h.

#include <functional>
#include <string>

#include "reports/sessao.h"

namespace qxweb {

struct Configuracao {
  std::string endereco = "127.0.0.1";
  int porta = 0;              // 0: any free port
  std::string segredo;        // what every request must carry; "" asks for none
  bool mostraSegredo = false;  // whether the address to open carries it (a secret made at start)
  qx::Identidade identidade;  // the user and session, and the company to open first
};

// Listens, tells `pronto` the address to open, and serves until SIGINT or
// SIGTERM. An address that cannot be listened on throws FalhaLocal.
void Serve(const Configuracao& configuracao, const std::function<void(const std::string&)>& pronto);

}  // namespace qxweb
