#pragma once
// How a client of the entry service learns that something went wrong: a call
// that answered with a failure code, a failure without a code (a file that
// cannot be read), or data that the rules of a save refuse. The tools print
// them for people; the web view turns them into pages.

#include <optional>
#include <string>
#include <vector>

#include "outside/admin/periodo_fechado.h"
#include "platform/com_types.h"

namespace qx {

// A call that failed with a code.
struct FalhaServico {
  HRESULT hr;
  std::string contexto;      // the call ("LeDadosComplemento"), or what was happening
  std::string dica = {};     // what to do, besides the hint the code has
  std::string detalhe = {};  // what the failing layer said, in place of the code's description
};

// A failure without a code.
struct FalhaLocal {
  explicit FalhaLocal(std::string mensagem_, std::string dica_ = {})
      : mensagem(std::move(mensagem_)), dica(std::move(dica_)) {}
  std::string mensagem;
  std::string dica;  // what to do, when there is something to say
};

// Data that the rules of the books refuse before anything is saved: one
// line for each rule broken, naming the field, the value and the rule.
struct FalhaRecusa {
  std::string mensagem;              // what was refused ("lançamento recusado")
  std::vector<std::string> recusas;  // "débito 9999: não está no plano de contas"
  std::string dica = {};
};

// Throws FalhaServico unless hr is S_OK: the service answers a stored file's
// trouble (a full disk, a month that cannot be read) with positive statuses
// too, and a client for people must not take them for success. The busy code
// of the mark that saves take names the mark's file, in the folder of the
// company of this thread's last session, and what to do; the refusal of a
// closed period names that company's period, who closed it and when.
HRESULT Verifica(HRESULT hr, const std::string& contexto);

// What a failure's code alone does not say, for FalhaServico::detalhe: the
// refusal of a closed period names that company's period, who closed it and
// when; empty otherwise.
std::string DetalheDaFalha(HRESULT hr);
// "0x80043E95 ARQ_FIM_DE_ARQUIVO: description", for a code met along the way.
std::string DescreveFalha(HRESULT hr);
// "0x80043E95".
std::string CodigoFalha(HRESULT hr);
// "0x80043E95 NAME: description", as far as there is a name and a description.
std::string LinhaFalha(const std::string& codigo, const std::string& simbolo,
                       const std::string& descricao);

// Remembers the company of the session this thread opens (for Verifica).
void LembraPastaDaSessao(const std::string& empresa);

// That company's closed period; nullopt when none is closed or it cannot be
// read.
std::optional<PeriodoFechado> PeriodoFechadoDaSessao();

}  // namespace qx
