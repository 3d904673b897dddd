// qxcn: the entry service for people and scripts. Every subcommand is a
// client of the server, through the same interface the suite's programs use.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "comandos.h"

namespace qxcn {
namespace {

constexpr int kSaidaFalha = 1;
constexpr int kSaidaUso = 2;

std::vector<Comando> Todos() {
  std::vector<Comando> todos;
  for (auto familia : {ComandosLancamento, ComandosBusca, ComandosMes, ComandosNotasFormatos,
                       ComandosImportacao}) {
    for (Comando& c : familia()) todos.push_back(std::move(c));
  }
  return todos;
}

void Ajuda(const std::vector<Comando>& comandos) {
  std::fputs(
      "uso: qxcn SUBCOMANDO [opções] [--json] [--empresa CODIGO] [--usuario N] [--sessao N]\n\n",
      stderr);
  for (const Comando& c : comandos) std::fprintf(stderr, "  %-18s %s\n", c.nome, c.descricao);
  std::fputs("\nqxcn SUBCOMANDO --help mostra as opções de um subcomando.\n", stderr);
}

int Executa(const Comando& comando, int argc, char** argv) {
  std::vector<std::string> valores = comando.valores;
  valores.insert(valores.end(), kOpcoesIdentidade.begin(), kOpcoesIdentidade.end());
  std::vector<std::string> marcas = comando.marcas;
  marcas.push_back("json");
  try {
    const Argumentos argumentos(argc, argv, 2, valores, marcas);
    Saida saida(argumentos.Marca("json"));
    Servico servico(LeIdentidade(argumentos));
    try {
      comando.executa(argumentos, servico, saida);
    } catch (...) {
      saida.Termina();
      throw;
    }
    saida.Termina();
    return 0;
  } catch (const ErroUso& erro) {
    std::fprintf(stderr, "qxcn %s: %s\nuso: qxcn %s\n", comando.nome, erro.mensagem.c_str(),
                 comando.uso);
    return kSaidaUso;
  } catch (const Falha& falha) {
    std::fprintf(stderr, "qxcn %s: %s falhou: %s\n", comando.nome, falha.contexto.c_str(),
                 DescreveFalha(falha.hr).c_str());
    return kSaidaFalha;
  } catch (const FalhaLocal& falha) {
    std::fprintf(stderr, "qxcn %s: %s\n", comando.nome, falha.mensagem.c_str());
    return kSaidaFalha;
  }
}

}  // namespace
}  // namespace qxcn

int main(int argc, char** argv) {
  const std::vector<qxcn::Comando> comandos = qxcn::Todos();
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "help") == 0) {
    qxcn::Ajuda(comandos);
    return argc < 2 ? qxcn::kSaidaUso : 0;
  }
  for (const qxcn::Comando& comando : comandos) {
    if (std::strcmp(argv[1], comando.nome) != 0) continue;
    if (argc == 3 && std::strcmp(argv[2], "--help") == 0) {
      std::printf("uso: qxcn %s\n  %s\n", comando.uso, comando.descricao);
      return 0;
    }
    return qxcn::Executa(comando, argc, argv);
  }
  std::fprintf(stderr, "qxcn: subcomando desconhecido: %s\n", argv[1]);
  qxcn::Ajuda(comandos);
  return qxcn::kSaidaUso;
}
