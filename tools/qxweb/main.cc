// qxweb: a company's books in a browser. A client of the entry service like
// qxcn, read-only, listening on this machine unless told otherwise.
#include <cstdio>

#include "common/ferramenta.h"
#include "common/identidade.h"
#include "platform/com_runtime_hooks.h"
#include "seguranca.h"
#include "servidor.h"

namespace {

using qx::cli::Argumentos;
using qx::cli::Saida;

constexpr int kPortaPadrao = 8040;

void Executa(const Argumentos& a, Saida&) {
  qxweb::Configuracao configuracao;
  configuracao.endereco = a.Valor("endereco").value_or("127.0.0.1");
  configuracao.porta = static_cast<int>(a.Inteiro("porta", 0, 65535).value_or(kPortaPadrao));
  const bool loopback = qxweb::EhLoopback(configuracao.endereco);
  if (const auto arquivo = a.Valor("token-arquivo")) {
    configuracao.segredo = qxweb::LeSegredo(*arquivo);
  } else if (!loopback) {
    throw qx::cli::ErroUso{"escutar em " + configuracao.endereco +
                           ", fora desta máquina, exige --token-arquivo ARQUIVO"};
  } else if (!a.Marca("sem-segredo")) {
    configuracao.segredo = qxweb::GeraSegredo();
    configuracao.mostraSegredo = true;
  }
  if (a.Marca("sem-segredo") && !configuracao.segredo.empty()) {
    throw qx::cli::ErroUso{"--sem-segredo vale só em 127.0.0.1 e sem --token-arquivo"};
  }
  configuracao.identidade = qx::cli::LeIdentidade(a);
  qxweb::Serve(configuracao, [](const std::string& endereco) {
    std::printf("qxweb: abra %s\n", endereco.c_str());
    std::fflush(stdout);
  });
}

}  // namespace

int main(int argc, char** argv) {
  qx::SetRuntimeLogHook([](qx::RuntimeEvent, const std::string& texto) {
    std::fprintf(stderr, "qxweb: %s\n", texto.c_str());
  });
  const qx::cli::Programa qxweb = {
      .nome = "qxweb",
      .resumo = "mostra os livros de uma empresa no navegador, só para leitura",
      .notas =
          "Escuta em 127.0.0.1 (só esta máquina) e diz o endereço a abrir, que traz o segredo\n"
          "gerado ao iniciar; Ctrl-C encerra. Cada pedido traz o segredo: no endereço, num\n"
          "cookie que o endereço e a página /entrar deixam, ou em Authorization: Bearer.\n"
          "--token-arquivo dá o segredo (a primeira linha de um arquivo de modo 0600); outro\n"
          "endereço o exige. --sem-segredo atende sem segredo, só em 127.0.0.1. Cada página\n"
          "tem o seu JSON (?formato=json) e cada tabela o seu CSV (?formato=csv&tabela=NOME).\n"
          "A instalação é a de QX_REGISTRY. Saída: 0 encerrado, 1 falhou, 2 erro de uso.\n",
      .globais = qx::cli::OpcoesIdentidade(),
      .comandos = {{"",
                    "",
                    "serve as páginas dos livros",
                    {{"porta", "N", "a porta (8040 por omissão; 0: uma livre)"},
                     {"endereco", "IP", "o endereço em que escuta (127.0.0.1 por omissão)"},
                     {"token-arquivo", "ARQUIVO",
                      "o arquivo do segredo que cada pedido deve trazer"},
                     {"sem-segredo", "",
                      "atende sem segredo (só em 127.0.0.1: todo usuário desta máquina lê)"}},
                    Executa}},
  };
  return qx::cli::Executa(qxweb, argc, argv);
}
