#pragma once
// The command line of qxcn: a subcommand, its positional arguments and its
// "--name value" / "--flag" options, checked against what the subcommand
// accepts. Failures end the run through the exceptions below, which main
// turns into the exit codes 1 (Falha) and 2 (ErroUso).

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/com_types.h"
#include "values/currency.h"
#include "values/qx_data.h"
#include "values/qx_mes_ano.h"

namespace qxcn {

// A usage error: the message is printed with the subcommand's usage, exit 2.
struct ErroUso {
  std::string mensagem;
};

// A failed call of the service: exit 1 with the HRESULT, its name and description.
struct Falha {
  HRESULT hr;
  std::string contexto;
};

// A failure that is not a call of the service (a file that cannot be read, an
// import stopped at a bad line): exit 1 with the message.
struct FalhaLocal {
  std::string mensagem;
};

// "0x80040002 NAME: description" (UTF-8) for people.
std::string DescreveFalha(HRESULT hr);

// Throws Falha when hr is a failure; gives hr back otherwise.
HRESULT Verifica(HRESULT hr, const std::string& contexto);

class Argumentos {
 public:
  // Splits argv[first..]: "--name value" for names in `valores`, "--name" for
  // names in `marcas`, everything else positional. An unknown option or a
  // missing value throws ErroUso.
  Argumentos(int argc, char** argv, int first, const std::vector<std::string>& valores,
             const std::vector<std::string>& marcas);

  bool Marca(const std::string& nome) const { return marcas_.count(nome) > 0; }
  std::optional<std::string> Valor(const std::string& nome) const;
  // Every value of an option that may repeat, in order.
  std::vector<std::string> Valores(const std::string& nome) const;
  const std::vector<std::string>& Posicionais() const { return posicionais_; }

  // Typed values; a value that does not read throws ErroUso naming the option.
  std::optional<int64_t> Inteiro(const std::string& nome, int64_t minimo, int64_t maximo) const;
  std::optional<CURRENCY> Montante(const std::string& nome) const;
  std::optional<CQXData> Data(const std::string& nome) const;
  std::optional<CQXMesAno> MesAno(const std::string& nome) const;
  // The same, for a value that must be there.
  int64_t InteiroObrigatorio(const std::string& nome, int64_t minimo, int64_t maximo) const;
  CQXMesAno MesAnoObrigatorio(const std::string& nome) const;

 private:
  std::multimap<std::string, std::string> valores_;
  std::map<std::string, bool> marcas_;
  std::vector<std::string> posicionais_;
};

// Typed readings of one text; `nome` names it in the usage error.
int64_t LeInteiro(const std::string& texto, const std::string& nome, int64_t minimo,
                  int64_t maximo);
CURRENCY LeValor(const std::string& texto, const std::string& nome);
CQXData LeData(const std::string& texto, const std::string& nome);
CQXMesAno LeMesAno(const std::string& texto, const std::string& nome);

}  // namespace qxcn
