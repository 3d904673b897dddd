#pragma once
// The entry service as qxcn reaches it: created by ProgID through the local
// server runtime, like any suite program does, and initialised for the
// identity of --empresa / --usuario / --sessao.

#include <cstdint>
#include <string>
#include <vector>

#include "common/argumentos.h"
#include "common/programa.h"
#include "entries/iqxcn_lancamento.h"

namespace qxcn {

struct Identidade {
  std::string empresa;  // empty: the default company (see EmpresaPadrao)
  std::string origem;   // where the company came from, for people
  uint32_t usuario = 1;
  uint32_t sessao = 4096;
};

// The identity options every subcommand takes.
std::vector<qx::cli::Opcao> OpcoesIdentidade();
// --empresa, else QX_EMPRESA, else the user's choice (qxcn empresa usar);
// empty when none of them names one (the service's first company then).
Identidade LeIdentidade(const qx::cli::Argumentos& argumentos);

// The user's choice of company, kept in the user's registry store.
std::string EmpresaDoUsuario();
void GuardaEmpresaDoUsuario(const std::string& empresa);

class Servico {
 public:
  // Creates the object and initialises it; a failure throws Falha.
  explicit Servico(const Identidade& identidade);
  ~Servico();
  Servico(const Servico&) = delete;
  Servico& operator=(const Servico&) = delete;

  IQXCN_Lancamento* operator->() const { return lancamento_.objeto; }
  // The identity the object was initialised with, the company always named.
  const Identidade& identidade() const { return identidade_; }

 private:
  // Released also when the initialisation fails part way.
  struct Objeto {
    IQXCN_Lancamento* objeto = nullptr;
    Objeto() = default;
    Objeto(const Objeto&) = delete;
    Objeto& operator=(const Objeto&) = delete;
    ~Objeto() {
      if (objeto != nullptr) objeto->Release();
    }
  };

  Objeto lancamento_;
  Identidade identidade_;
};

}  // namespace qxcn
