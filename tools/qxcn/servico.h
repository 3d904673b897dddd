#pragma once
// The entry service as qxcn reaches it: created by ProgID through the local
// server runtime, like any suite program does, and initialised for the
// identity of --empresa / --usuario / --sessao.

#include <cstdint>
#include <string>

#include "cli.h"
#include "entries/iqxcn_lancamento.h"

namespace qxcn {

struct Identidade {
  std::string empresa;  // empty: the first company the service knows
  uint32_t usuario = 1;
  uint32_t sessao = 4096;
};

// The identity options every subcommand accepts.
inline const std::vector<std::string> kOpcoesIdentidade = {"empresa", "usuario", "sessao"};
Identidade LeIdentidade(const Argumentos& argumentos);

class Servico {
 public:
  // Creates the object and initialises it; a failure throws Falha.
  explicit Servico(const Identidade& identidade);
  ~Servico();
  Servico(const Servico&) = delete;
  Servico& operator=(const Servico&) = delete;

  IQXCN_Lancamento* operator->() const { return lancamento_; }
  const std::string& Empresa() const { return empresa_; }

 private:
  IQXCN_Lancamento* lancamento_ = nullptr;
  std::string empresa_;
};

}  // namespace qxcn
