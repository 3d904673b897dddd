#include "common/completacao.h"

#include <map>
#include <set>

#include "common/ajuda.h"

namespace qx::cli {
namespace {

// Words that name files.
bool NomeiaArquivo(const std::string& palavras) {
  for (const char* palavra : {"ARQUIVO", "PASTA"}) {
    if (palavras.find(palavra) != std::string::npos) return true;
  }
  return false;
}

std::string Lista(const std::set<std::string>& palavras) {
  std::string texto;
  for (const std::string& palavra : palavras) texto += (texto.empty() ? "" : " ") + palavra;
  return texto;
}

std::string NomesOpcoes(const std::vector<Opcao>& a, const std::vector<Opcao>& b) {
  std::string texto;
  for (const std::vector<Opcao>* lista : {&a, &b}) {
    for (const Opcao& opcao : *lista) texto += (texto.empty() ? "--" : " --") + opcao.nome;
  }
  return texto;
}

}  // namespace

std::string ScriptCompletacao(const Programa& programa) {
  const std::string funcao = "_" + programa.nome;
  std::string script =
      "# bash completion of " + programa.nome + ", written by " + programa.nome +
      " --completion\n" + funcao +
      "() {\n"
      "  local cur=\"${COMP_WORDS[COMP_CWORD]}\" prev=\"${COMP_WORDS[COMP_CWORD-1]}\"\n"
      "  local w comando=\"\"\n"
      "  for w in \"${COMP_WORDS[@]:1:COMP_CWORD-1}\"; do\n"
      "    [[ $w == -* ]] || comando+=\"${comando:+ }$w\"\n"
      "  done\n"
      "  COMPREPLY=()\n"
      "  case \"$prev\" in\n";
  // Options that take a value: their choices, file names, or nothing to offer.
  std::map<std::string, const Opcao*> valores;
  for (const Comando& comando : programa.comandos) {
    for (const Opcao& opcao : comando.opcoes) valores.emplace(opcao.nome, &opcao);
  }
  for (const Opcao& opcao : programa.globais) valores.emplace(opcao.nome, &opcao);
  for (const auto& [nome, opcao] : valores) {
    if (opcao->valor.empty()) continue;
    std::string resposta = "return ;;";
    if (!opcao->escolhas.empty()) {
      resposta = "COMPREPLY=($(compgen -W \"" + opcao->escolhas + "\" -- \"$cur\")); return ;;";
    } else if (NomeiaArquivo(opcao->valor)) {
      resposta = "COMPREPLY=($(compgen -f -- \"$cur\")); return ;;";
    }
    script += "    --" + nome + ") " + resposta + "\n";
  }
  script += "  esac\n  case \"$comando\" in\n";
  const std::string convencao = NomesOpcoes(OpcoesConvencao(programa), {});
  if (programa.SemSubcomandos()) {
    const Comando& unico = programa.comandos[0];
    script +=
        "    *) if [[ $cur == -* ]]; then COMPREPLY=($(compgen -W \"" +
        NomesOpcoes(unico.opcoes, programa.globais) + " " + convencao + "\" -- \"$cur\"))" +
        (NomeiaArquivo(unico.argumentos) ? "; else COMPREPLY=($(compgen -f -- \"$cur\"))" : "") +
        "; fi ;;\n";
  } else {
    std::set<std::string> primeiras;
    std::map<std::string, std::set<std::string>> grupos;
    for (const Comando& comando : programa.comandos) {
      primeiras.insert(comando.Grupo());
      if (comando.Grupo() != comando.nome) {
        grupos[comando.Grupo()].insert(comando.nome.substr(comando.Grupo().size() + 1));
      }
    }
    // The words typed so far start with a subcommand's name (and go on with
    // option values), or name a group only.
    for (const Comando& comando : programa.comandos) {
      script += "    \"" + comando.nome + "\"|\"" + comando.nome + " \"*) ";
      script += "if [[ $cur == -* ]]; then COMPREPLY=($(compgen -W \"" +
                NomesOpcoes(comando.opcoes, programa.globais) + " --help\" -- \"$cur\"))";
      if (NomeiaArquivo(comando.argumentos)) {
        script += "; else COMPREPLY=($(compgen -f -- \"$cur\"))";
      }
      script += "; fi ;;\n";
    }
    for (const auto& [grupo, acoes] : grupos) {
      script += "    \"" + grupo + "\") COMPREPLY=($(compgen -W \"" + Lista(acoes) +
                "\" -- \"$cur\")) ;;\n";
    }
    script += "    \"\"|help) COMPREPLY=($(compgen -W \"" + Lista(primeiras) + " help " +
              convencao + "\" -- \"$cur\")) ;;\n";
  }
  script += "  esac\n}\ncomplete -F " + funcao + " " + programa.nome + "\n";
  return script;
}

}  // namespace qx::cli
