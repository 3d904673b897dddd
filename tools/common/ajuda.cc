#include "common/ajuda.h"

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

}  // namespace

std::vector<Opcao> OpcoesConvencao(const Programa& programa) {
  const Textos& textos = TextosDe();
  return {{"help", "", textos.ajudaAjuda},
          {"version", "", textos.ajudaVersao},
          {"completion", "", Formata(textos.ajudaCompletacao, {programa.nome})}};
}

std::vector<Opcao> OpcoesSaida() {
  const Textos& textos = TextosDe();
  return {{"json", "", textos.ajudaJson},
          {"csv", "", textos.ajudaCsv},
          {"planilha", "", textos.ajudaPlanilha}};
}

std::string LinhaUso(const Programa& programa, const Comando& comando) {
  const Textos& textos = TextosDe();
  std::string linha = programa.nome;
  if (!comando.nome.empty()) linha += " " + comando.nome;
  if (!comando.opcoes.empty() || !programa.globais.empty()) {
    linha += std::string(" [") + textos.opcoes + "]";
  }
  if (!comando.argumentos.empty()) linha += " " + comando.argumentos;
  return linha;
}

void EscreveAjuda(const Programa& programa, const std::string& grupo, std::FILE* saida) {
  const Textos& textos = TextosDe();
  if (programa.SemSubcomandos()) {
    EscreveAjudaComando(programa, programa.comandos[0], saida);
    return;
  }
  std::fprintf(saida, "%s: %s\n\n%s: %s %s [%s]\n\n%s:\n", programa.nome.c_str(),
               programa.resumo.c_str(), textos.uso, programa.nome.c_str(),
               grupo.empty() ? "SUBCOMANDO" : grupo.c_str(), textos.opcoes, textos.subcomandos);
  for (const Comando& comando : programa.comandos) {
    if (grupo.empty() || comando.Grupo() == grupo) {
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
  const Textos& textos = TextosDe();
  std::fprintf(saida, "%s: %s\n%s\n", textos.uso, LinhaUso(programa, comando).c_str(),
               comando.resumo.c_str());
  if (!comando.opcoes.empty()) {
    std::fprintf(saida, "\n%s:\n", textos.opcoes);
    EscreveOpcoes(saida, comando.opcoes);
  }
  if (programa.SemSubcomandos()) {
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

}  // namespace qx::cli
