// The tables a tool is made of: its subcommands and their options. The same
// tables drive the parsing, the help and the bash completion, so that adding
// a subcommand is one table entry and its function.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace qx::cli {

class Argumentos;
class Saida;

struct Opcao {
  Opcao(std::string nome_, std::string valor_, std::string ajuda_, bool repete_ = false,
        std::string escolhas_ = {}, std::string apelido_ = {})
      : nome(std::move(nome_)),
        valor(std::move(valor_)),
        ajuda(std::move(ajuda_)),
        repete(repete_),
        escolhas(std::move(escolhas_)),
        apelido(std::move(apelido_)) {}

  std::string nome;      // without the dashes: "mes", "ao-erro"
  std::string valor;     // what the value is, for the help ("MM/AAAA"); empty for a flag
  std::string ajuda;     // one line
  bool repete;           // every value is kept, in order (otherwise the last counts)
  std::string escolhas;  // the values completion offers, separated by blanks
  // An older name the option still answers to, so that scripts written for it
  // keep working; help and completion show only `nome`.
  std::string apelido;

  // Whether the word ("--mes") names the option.
  bool Nomeia(std::string_view palavra) const {
    return palavra.starts_with("--") &&
           (palavra.substr(2) == nome || (!apelido.empty() && palavra.substr(2) == apelido));
  }
};

struct Comando {
  std::string nome;        // "grava", "notas grava"; "" for a tool without subcommands
  std::string argumentos;  // the words after the options, for the help: "ARQUIVO", "[PASTA]"
  std::string resumo;      // one line
  std::vector<Opcao> opcoes;
  std::function<void(const Argumentos&, Saida&)> executa;
  // An older name the subcommand still answers to ("config show"), so that
  // scripts written for it keep working; help and completion show only `nome`.
  std::string apelido = {};

  // The first word of a name of two ("notas" of "notas grava"), else the name.
  std::string Grupo() const { return nome.substr(0, nome.find(' ')); }
  bool Chama(const std::string& palavras) const {
    return palavras == nome || (!apelido.empty() && palavras == apelido);
  }
};

struct Programa {
  std::string nome;        // "qxcn"
  std::string resumo;      // one line
  std::string notas = {};  // the end of the help: environment, exit status, ...
  std::vector<Opcao> globais = {};  // options every subcommand takes
  std::vector<Comando> comandos;

  // A tool of one command, named "", takes no subcommand word.
  bool SemSubcomandos() const { return comandos.size() == 1 && comandos[0].nome.empty(); }
};

// The options or subcommands of several tables, in order.
template <class T>
std::vector<T> Junta(std::initializer_list<std::vector<T>> partes) {
  std::vector<T> todos;
  for (const std::vector<T>& parte : partes) todos.insert(todos.end(), parte.begin(), parte.end());
  return todos;
}

// --json and --csv, for tools whose subcommands print tables.
std::vector<Opcao> OpcoesSaida();

// Runs the command line: help (-h, --help anywhere, help [SUBCOMANDO]) on
// standard output, --version, --completion, then the subcommand. The exit
// status: 0 done, 1 refused or failed, 2 a usage error or data that the rules
// of a save refuse before anything is saved (FalhaRecusa).
int Executa(const Programa& programa, int argc, char** argv);

inline constexpr int kSaidaFeito = 0;
inline constexpr int kSaidaFalha = 1;
inline constexpr int kSaidaUso = 2;
inline constexpr int kSaidaRecusa = 2;

}  // namespace qx::cli
