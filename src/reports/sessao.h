#pragma once
// The entry service as a client program for people reaches it: created by
// ProgID through the local-server runtime, like any suite program does, and
// initialised for a company, a user and a session. The company may be left
// to the installation (its first one).

#include <cstdint>
#include <string>
#include <vector>

#include "contract/iqxcn_lancamento.h"

namespace qx {

struct Identidade {
  std::string empresa;  // empty: the installation's first company
  std::string origem;   // where the company came from, for people
  uint32_t usuario = 1;
  uint32_t sessao = 4096;
};

// The company a user chose for the tools, kept in the user's registry store;
// "" when none was chosen.
std::string EmpresaDoUsuario();
// Keeps that choice; a store that cannot be written throws FalhaLocal.
void GuardaEmpresaDoUsuario(const std::string& empresa);

// The identity's company, or the installation's first, asked of an entry
// service object that is not initialised: no session is opened.
std::string EmpresaNomeada(const Identidade& identidade);

class SessaoLancamento {
 public:
  // Creates the object and initialises it; a failure throws FalhaServico.
  explicit SessaoLancamento(const Identidade& identidade);
  ~SessaoLancamento();
  SessaoLancamento(const SessaoLancamento&) = delete;
  SessaoLancamento& operator=(const SessaoLancamento&) = delete;

  IQXCN_Lancamento* operator->() const { return lancamento_.objeto; }
  // The same object's batch interface, asked for at the first use; a server
  // without it throws FalhaServico (E_NOINTERFACE).
  IQXCN_LancamentoLote* Lote();
  // The identity the object was initialised with, the company always named.
  const Identidade& identidade() const { return identidade_; }

 private:
  // Released also when the initialisation fails part way.
  template <class I>
  struct Objeto {
    I* objeto = nullptr;
    Objeto() = default;
    Objeto(const Objeto&) = delete;
    Objeto& operator=(const Objeto&) = delete;
    ~Objeto() {
      if (objeto != nullptr) objeto->Release();
    }
  };

  Objeto<IQXCN_Lancamento> lancamento_;
  Objeto<IQXCN_LancamentoLote> lote_;
  Identidade identidade_;
};

// The companies of the installation (Windows-1252), asked of the service.
std::vector<std::string> Empresas(SessaoLancamento& servico);

}  // namespace qx
