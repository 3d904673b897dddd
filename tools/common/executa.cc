// The run of a tool: help and the other conventions first, then the
// subcommand, then how it ended.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "common/ajuda.h"
#include "common/analise.h"
#include "common/completacao.h"
#include "common/falhas.h"
#include "common/json_celula.h"
#include "common/saida.h"
#include "diagnostics/versions.h"

namespace qx::cli {
namespace {

// The command line split: the subcommand, the words that name it, a help topic.
struct Linha {
  std::vector<std::string> palavras;  // argv[1..]
  size_t fim = 0;                     // "--", or the end: no option after it
  const Comando* comando = nullptr;
  std::vector<size_t> nome;  // indexes of the words that name the subcommand
  std::string grupo;         // the first word, when it names a group and no subcommand
  bool pedeAjuda = false;    // -h, --help, or "help" as the first word
  std::string desconhecido;  // a first word that names nothing

  bool Tem(std::string_view opcao) const {
    return std::find(palavras.begin(), palavras.begin() + static_cast<long>(fim), opcao) !=
           palavras.begin() + static_cast<long>(fim);
  }
  // The words for the parser: all but those naming the subcommand and "help".
  std::vector<std::string> Resto() const {
    std::vector<std::string> resto;
    for (size_t i = 0; i < palavras.size(); ++i) {
      if (std::find(nome.begin(), nome.end(), i) == nome.end()) resto.push_back(palavras[i]);
    }
    return resto;
  }
};

bool TomaValor(const Programa& programa, const std::string& palavra) {
  return std::any_of(programa.globais.begin(), programa.globais.end(),
                     [&](const Opcao& o) { return !o.valor.empty() && o.Nomeia(palavra); });
}

const Comando* Procura(const Programa& programa, const std::string& nome) {
  for (const Comando& comando : programa.comandos) {
    if (comando.Chama(nome)) return &comando;
  }
  return nullptr;
}

bool EhGrupo(const Programa& programa, const std::string& palavra) {
  return std::any_of(programa.comandos.begin(), programa.comandos.end(),
                     [&](const Comando& c) { return c.nome.starts_with(palavra + " "); });
}

// The group a word names, by its name or an older one ("" for none).
std::string Grupo(const Programa& programa, const std::string& palavra) {
  if (EhGrupo(programa, palavra)) return palavra;
  for (const Comando& c : programa.comandos) {
    if (c.apelido.starts_with(palavra + " ")) return c.Grupo();
  }
  return "";
}

Linha Divide(const Programa& programa, int argc, char** argv) {
  Linha linha;
  linha.palavras.assign(argv + 1, argv + argc);
  linha.fim = static_cast<size_t>(std::find(linha.palavras.begin(), linha.palavras.end(), "--") -
                                  linha.palavras.begin());
  linha.pedeAjuda = linha.Tem("-h") || linha.Tem("--help");
  if (programa.SemSubcomandos()) {
    linha.comando = &programa.comandos[0];
    if (linha.palavras.size() == 1 && linha.palavras[0] == "help") {
      linha.pedeAjuda = true;
      linha.nome = {0};
    }
    return linha;
  }
  // The first words that are no option (nor the value of a global option).
  std::vector<size_t> soltas;
  for (size_t i = 0; i < linha.fim && soltas.size() < 3; ++i) {
    const std::string& palavra = linha.palavras[i];
    if (TomaValor(programa, palavra)) {
      ++i;
    } else if (!palavra.starts_with("-")) {
      soltas.push_back(i);
    }
  }
  size_t primeira = 0;
  if (!soltas.empty() && linha.palavras[soltas[0]] == "help") {
    linha.pedeAjuda = true;
    linha.nome.push_back(soltas[0]);
    primeira = 1;
  }
  if (soltas.size() <= primeira) return linha;
  const std::string um = linha.palavras[soltas[primeira]];
  const std::string dois =
      soltas.size() > primeira + 1 ? um + " " + linha.palavras[soltas[primeira + 1]] : "";
  if (const Comando* comando = dois.empty() ? nullptr : Procura(programa, dois)) {
    linha.comando = comando;
    linha.nome.insert(linha.nome.end(), {soltas[primeira], soltas[primeira + 1]});
  } else if ((comando = Procura(programa, um)) != nullptr) {
    linha.comando = comando;
    linha.nome.push_back(soltas[primeira]);
  } else if (const std::string grupo = Grupo(programa, um); !grupo.empty()) {
    linha.grupo = grupo;
  } else {
    linha.desconhecido = um;
  }
  return linha;
}

// The names of a group's subcommands: "existe, le, grava".
std::string Acoes(const Programa& programa, const std::string& grupo) {
  std::string acoes;
  for (const Comando& comando : programa.comandos) {
    if (!comando.nome.starts_with(grupo + " ")) continue;
    acoes += (acoes.empty() ? "" : ", ") + comando.nome.substr(grupo.size() + 1);
  }
  return acoes;
}

class Relator {
 public:
  Relator(const Programa& programa, const Comando* comando, bool json)
      : programa_(programa), comando_(comando), json_(json) {
    prefixo_ = programa.nome;
    if (comando != nullptr && !comando->nome.empty()) prefixo_ += " " + comando->nome;
  }

  int Uso(const ErroUso& erro) const {
    const std::string uso = comando_ != nullptr ? LinhaUso(programa_, *comando_) : "";
    std::string ajuda = programa_.nome + " --help";
    if (comando_ != nullptr && !comando_->nome.empty()) {
      ajuda = programa_.nome + " help " + comando_->nome;
    }
    if (json_) {
      Objeto({"", "", "", erro.mensagem, ""}, {}, uso);
    } else {
      std::fprintf(stderr, "%s: %s\n", prefixo_.c_str(), erro.mensagem.c_str());
      if (!uso.empty()) {
        std::fprintf(stderr, "%s: %s\n", TextosDe().uso, uso.c_str());
      }
      std::fprintf(stderr, "(%s)\n", ajuda.c_str());
    }
    return kSaidaUso;
  }

  int Falhou(const Relato& relato) const {
    if (json_) {
      Objeto(relato, {}, "");
    } else {
      std::fprintf(stderr, "%s: %s\n", prefixo_.c_str(), relato.mensagem.c_str());
      Dica(relato.dica);
    }
    return kSaidaFalha;
  }

  // Each refusal on a line of its own, under the message.
  int Recusou(const FalhaRecusa& recusa) const {
    if (json_) {
      Objeto({"", "", "", recusa.mensagem, recusa.dica}, recusa.recusas, "");
    } else {
      std::fprintf(stderr, "%s: %s\n", prefixo_.c_str(), recusa.mensagem.c_str());
      for (const std::string& linha : recusa.recusas) std::fprintf(stderr, "  %s\n", linha.c_str());
      Dica(recusa.dica);
    }
    return kSaidaRecusa;
  }

 private:
  void Dica(const std::string& dica) const {
    if (dica.empty()) return;
    std::fprintf(stderr, "  %s: %s\n", TextosDe().oQueFazer, dica.c_str());
  }

  // One JSON object on standard error, the same keys for every failure.
  static void Objeto(const Relato& relato, const std::vector<std::string>& recusas,
                     const std::string& uso) {
    std::fprintf(stderr, "%s\n", Escreve(FalhaJson(relato, recusas, uso)).c_str());
  }

  const Programa& programa_;
  const Comando* comando_;
  bool json_;
  std::string prefixo_;
};

}  // namespace

int Executa(const Programa& programa, int argc, char** argv) {
  const Textos& textos = TextosDe();
  const Linha linha = Divide(programa, argc, argv);
  if (linha.pedeAjuda) {
    if (linha.comando != nullptr) {
      EscreveAjudaComando(programa, *linha.comando, stdout);
      return kSaidaFeito;
    }
    if (linha.desconhecido.empty()) {
      EscreveAjuda(programa, linha.grupo, stdout);
      return kSaidaFeito;
    }
  }
  if (linha.Tem("--version")) {
    std::printf("%s %.*s\n", programa.nome.c_str(), static_cast<int>(kVersaoProjeto.size()),
                kVersaoProjeto.data());
    return kSaidaFeito;
  }
  if (linha.Tem("--completion")) {
    std::fputs(ScriptCompletacao(programa).c_str(), stdout);
    return kSaidaFeito;
  }
  const bool json = linha.Tem("--json");
  const Relator relator(programa, linha.comando, json);
  if (linha.comando == nullptr) {
    if (linha.palavras.empty() && linha.grupo.empty()) {
      EscreveAjuda(programa, "", stderr);
      return kSaidaUso;
    }
    if (!linha.grupo.empty()) {
      return relator.Uso(
          {Formata(textos.digaQual, {linha.grupo + " " + Acoes(programa, linha.grupo)})});
    }
    return relator.Uso({Formata(textos.subcomandoDesconhecido, {linha.desconhecido})});
  }
  try {
    const Argumentos argumentos = Analisa(*linha.comando, programa.globais, linha.Resto(), textos);
    const bool csv = argumentos.Marca("csv"), planilha = argumentos.Marca("planilha");
    if (json + csv + planilha > 1) throw ErroUso{textos.jsonOuCsv};
    Saida saida(json       ? Formato::kJson
                : csv      ? Formato::kCsv
                : planilha ? Formato::kPlanilha
                           : Formato::kPessoas);
    try {
      linha.comando->executa(argumentos, saida);
    } catch (...) {
      saida.Termina();
      throw;
    }
    saida.Termina();
    return kSaidaFeito;
  } catch (const ErroUso& erro) {
    return relator.Uso(erro);
  } catch (const Falha& falha) {
    return relator.Falhou(Relata(falha, textos));
  } catch (const FalhaRecusa& recusa) {
    return relator.Recusou(recusa);
  } catch (const FalhaLocal& falha) {
    return relator.Falhou({"", "", "", falha.mensagem, falha.dica});
  } catch (const std::exception& erro) {
    return relator.Falhou({"", "", "", erro.what(), ""});
  }
}

}  // namespace qx::cli
