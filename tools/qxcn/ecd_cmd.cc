// ecd: the bookkeeping file (ECD) of the tax authority, checked before it leaves.
#include <fstream>
#include <vector>

#include "comandos.h"
#include "reports/ecd/confere.h"

namespace qxcn {
namespace {

void Confere(const Argumentos& a, Saida& saida) {
  const std::string arquivo = a.Obrigatorio("conferir");
  std::ifstream entrada(arquivo, std::ios::binary);
  if (!entrada) throw FalhaLocal("não consegui abrir " + arquivo, "confira o caminho do arquivo");
  Tabela tabela({"linha", "registro", "regra", "encontrado", "correcao"});
  const uint64_t problemas = qx::ecd::ConfereEcd(entrada, [&](const qx::ecd::Problema& p) {
    if (saida.ParaPessoas()) saida.Aviso(qx::ecd::TextoProblema(p));
    tabela.Linha({p.linha, p.registro, p.regra, p.encontrado, p.correcao});
  });
  if (entrada.bad()) throw FalhaLocal("não consegui ler " + arquivo);
  if (!saida.ParaPessoas()) saida.Mostra("problemas", "", tabela);
  if (saida.ParaPessoas()) {
    saida.Aviso("Regras do programa da Receita que esta conferência não cobre:");
    for (const std::string_view regra : qx::ecd::RegrasNaoConferidas()) {
      saida.Aviso("  - " + std::string(regra));
    }
  }
  if (problemas != 0) {
    throw FalhaLocal(arquivo + ": " + std::to_string(problemas) + " problema(s) na ECD",
                     "corrija nos livros ou no cadastro (qxadmin cadastro) o que cada linha "
                     "diz e gere o arquivo de novo");
  }
  saida.Aviso(arquivo + ": a ECD passa nesta conferência");
}

}  // namespace

std::vector<Comando> ComandosEcd() {
  return {
      {"ecd",
       "",
       "confere um arquivo da escrituração contábil digital (ECD, leiaute 9, livro G): "
       "forma, plano, saldos, lançamentos, encerramento, demonstrações e signatários",
       {{"conferir", "ARQUIVO", "o arquivo a conferir; sai 0 só quando ele passa"}},
       Confere},
  };
}

}  // namespace qxcn
