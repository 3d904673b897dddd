#include "common/ajuda.h"

#include <map>
#include <set>

#include "common/textos.h"

namespace qx::cli {
namespace {

constexpr size_t kColuna = 26;

std::string Nome(const Opcao& opcao) {
  const std::string nome = "--" + opcao.nome;
  return opcao.valor.empty() ? nome : nome + " " + opcao.valor;
}

void EscreveItem(std::FILE* saida, const std::string& nome, const std::string& ajuda) {
  std::string linha = "  " + nome;
  if (linha.size() + 1 >= kColuna) {
    linha += "\n";
    linha.append(kColuna, ' ');
  } else {
    linha.append(kColuna - linha.size(), ' ');
  }
  std::fprintf(saida, "%s%s\n", linha.c_str(), ajuda.c_str());
}

void EscreveOpcoes(std::FILE* saida, const std::vector<Opcao>& opcoes) {
  for (const Opcao& opcao : opcoes) EscreveItem(saida, Nome(opcao), opcao.ajuda);
}

// The options of the conventions, -h beside --help.
void EscreveConvencao(std::FILE* saida, const Programa& programa) {
  const std::vector<Opcao> opcoes = OpcoesConvencao(programa);
  EscreveItem(saida, "-h, --help", opcoes[0].ajuda);
  EscreveOpcoes(saida, {opcoes.begin() + 1, opcoes.end()});
}

bool SemSubcomandos(const Programa& programa) {
  return programa.comandos.size() == 1 && programa.comandos[0].nome.empty();
}

// Words that name files, for the completion.
bool NomeiaArquivo(const std::string& palavras) {
  for (const char* palavra : {"ARQUIVO", "PASTA", "FILE", "FOLDER", "HOME"}) {
    if (palavras.find(palavra) != std::string::npos) return true;
  }
  return false;
}

std::string PrimeiraPalavra(const std::string& nome) { return nome.substr(0, nome.find(' ')); }

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

std::vector<Opcao> OpcoesConvencao(const Programa& programa) {
  const Textos& textos = TextosDe(programa.idioma);
  return {{"help", "", textos.ajudaAjuda},
          {"version", "", textos.ajudaVersao},
          {"completion", "", Formata(textos.ajudaCompletacao, {programa.nome})}};
}

std::vector<Opcao> OpcoesSaida(Idioma idioma) {
  const Textos& textos = TextosDe(idioma);
  return {{"json", "", textos.ajudaJson}, {"csv", "", textos.ajudaCsv}};
}

std::string LinhaUso(const Programa& programa, const Comando& comando) {
  const Textos& textos = TextosDe(programa.idioma);
  std::string linha = programa.nome;
  if (!comando.nome.empty()) linha += " " + comando.nome;
  if (!comando.opcoes.empty() || !programa.globais.empty()) {
    linha += std::string(" [") + textos.opcoes + "]";
  }
  if (!comando.argumentos.empty()) linha += " " + comando.argumentos;
  return linha;
}

void EscreveAjuda(const Programa& programa, const std::string& grupo, std::FILE* saida) {
  const Textos& textos = TextosDe(programa.idioma);
  if (SemSubcomandos(programa)) {
    EscreveAjudaComando(programa, programa.comandos[0], saida);
    return;
  }
  std::fprintf(saida, "%s: %s\n\n%s: %s %s [%s]\n\n%s:\n", programa.nome.c_str(),
               programa.resumo.c_str(), textos.uso, programa.nome.c_str(),
               grupo.empty() ? "SUBCOMANDO" : grupo.c_str(), textos.opcoes, textos.subcomandos);
  for (const Comando& comando : programa.comandos) {
    if (grupo.empty() || PrimeiraPalavra(comando.nome) == grupo) {
      EscreveItem(saida, comando.nome, comando.resumo);
    }
  }
  std::fprintf(saida, "\n%s:\n", textos.opcoesGlobais);
  EscreveOpcoes(saida, programa.globais);
  EscreveConvencao(saida, programa);
  std::fprintf(saida, "\n%s\n", Formata(textos.veja, {programa.nome}).c_str());
  if (!programa.notas.empty()) std::fprintf(saida, "\n%s", programa.notas.c_str());
}

void EscreveAjudaComando(const Programa& programa, const Comando& comando, std::FILE* saida) {
  const Textos& textos = TextosDe(programa.idioma);
  std::fprintf(saida, "%s: %s\n%s\n", textos.uso, LinhaUso(programa, comando).c_str(),
               comando.resumo.c_str());
  if (!comando.opcoes.empty()) {
    std::fprintf(saida, "\n%s:\n", textos.opcoes);
    EscreveOpcoes(saida, comando.opcoes);
  }
  if (SemSubcomandos(programa)) {
    EscreveOpcoes(saida, programa.globais);
    EscreveConvencao(saida, programa);
    if (!programa.notas.empty()) std::fprintf(saida, "\n%s", programa.notas.c_str());
    return;
  }
  std::string globais;
  for (const Opcao& opcao : programa.globais)
    globais += (globais.empty() ? "" : ", ") + Nome(opcao);
  if (!globais.empty()) {
    std::fprintf(saida, "\n%s: %s (%s help)\n", textos.opcoesGlobais, globais.c_str(),
                 programa.nome.c_str());
  }
}

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
  if (SemSubcomandos(programa)) {
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
      primeiras.insert(PrimeiraPalavra(comando.nome));
      if (comando.nome.find(' ') != std::string::npos) {
        grupos[PrimeiraPalavra(comando.nome)].insert(
            comando.nome.substr(comando.nome.find(' ') + 1));
      }
    }
    // The longest names first, so that "notas grava" wins over "notas".
    std::vector<const Comando*> ordem;
    for (const Comando& comando : programa.comandos) ordem.push_back(&comando);
    std::stable_sort(ordem.begin(), ordem.end(), [](const Comando* a, const Comando* b) {
      return a->nome.size() > b->nome.size();
    });
    for (const Comando* comando : ordem) {
      script += "    \"" + comando->nome + "\"|\"" + comando->nome + " \"*) ";
      script += "if [[ $cur == -* ]]; then COMPREPLY=($(compgen -W \"" +
                NomesOpcoes(comando->opcoes, programa.globais) + " --help\" -- \"$cur\"))";
      if (NomeiaArquivo(comando->argumentos)) {
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
