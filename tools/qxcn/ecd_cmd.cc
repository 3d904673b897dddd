// ecd: the bookkeeping file (ECD) of the tax authority, written from the
// books and checked before it leaves, or a file checked on its own.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "comandos.h"
#include "reports/ecd/confere.h"
#include "reports/ecd/escreve.h"
#include "reports/livro_ecd.h"

namespace qxcn {
namespace {

// Checks the file, each problem a line for people and a row otherwise; the
// number of problems.
uint64_t Problemas(const std::string& arquivo, Saida& saida) {
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
  return problemas;
}

void Confere(const Argumentos& a, Saida& saida) {
  const std::string arquivo = a.Obrigatorio("conferir");
  if (const uint64_t problemas = Problemas(arquivo, saida)) {
    throw FalhaLocal(arquivo + ": " + std::to_string(problemas) + " problema(s) na ECD",
                     "corrija nos livros ou no cadastro (qxadmin cadastro) o que cada linha "
                     "diz e gere o arquivo de novo");
  }
  saida.Aviso(arquivo + ": a ECD passa nesta conferência");
}

// The file is written beside its destination and checked there; it takes
// the destination's name only when it passes, or with --forcar.
void Gera(const Argumentos& a, Servico& servico, Saida& saida) {
  const int ano = static_cast<int>(a.InteiroObrigatorio("exercicio", 1984, 2083));
  const std::string destino = a.Obrigatorio("saida");
  const std::string parcial = destino + ".parcial";
  const qx::ecd::Livro livro = qx::MontaLivroEcd(servico, ano);
  {
    std::ofstream arquivo(parcial, std::ios::binary | std::ios::trunc);
    if (!arquivo) throw FalhaLocal("não consegui criar " + parcial, "confira a pasta de destino");
    qx::ecd::EscreveEcd(livro, arquivo);
    arquivo.flush();
    if (!arquivo) {
      std::remove(parcial.c_str());
      throw FalhaLocal("não consegui gravar " + parcial,
                       "confira o espaço livre no disco de destino e gere de novo");
    }
  }
  const uint64_t problemas = Problemas(parcial, saida);
  if (problemas != 0 && !a.Marca("forcar")) {
    std::remove(parcial.c_str());
    throw FalhaLocal(std::to_string(problemas) + " problema(s) na ECD de " +
                         std::to_string(ano) + "; nenhum arquivo gravado",
                     "corrija nos livros ou no cadastro (qxadmin cadastro) o que cada linha "
                     "diz e gere de novo (--forcar grava o arquivo assim mesmo)");
  }
  std::error_code erro;
  std::filesystem::rename(parcial, destino, erro);
  if (erro) {
    std::remove(parcial.c_str());
    throw FalhaLocal("não consegui gravar " + destino + ": " + erro.message(),
                     "confira a pasta de destino");
  }
  if (problemas != 0) {
    throw FalhaLocal(destino + " gravado com " + std::to_string(problemas) +
                         " problema(s) (--forcar)",
                     "o programa da Receita vai recusá-lo: corrija o que cada linha diz");
  }
  saida.Aviso(destino + ": ECD de " + std::to_string(ano) + " gravada; passa nesta conferência");
}

void Ecd(const Argumentos& a, Saida& saida) {
  if (a.Valor("conferir")) {
    if (a.Valor("exercicio") || a.Valor("saida") || a.Marca("forcar")) {
      throw ErroUso{"--conferir não se combina com --exercicio, --saida nem --forcar"};
    }
    Confere(a, saida);
    return;
  }
  if (!a.Valor("exercicio") || !a.Valor("saida")) {
    throw ErroUso{"diga --exercicio AAAA e --saida ARQUIVO, ou --conferir ARQUIVO"};
  }
  ComServico(Gera)(a, saida);
}

}  // namespace

std::vector<Comando> ComandosEcd() {
  return {
      {"ecd",
       "",
       "a escrituração contábil digital (ECD, leiaute 9, livro G) do exercício, gerada dos livros "
       "e conferida antes de sair, ou a conferência de um arquivo: forma, plano, saldos, "
       "lançamentos, encerramento, demonstrações e signatários",
       {{"exercicio", "AAAA", "o ano a escriturar (de 1º de janeiro a 31 de dezembro)"},
        {"saida", "ARQUIVO", "onde gravar a ECD; só é gravada quando passa na conferência"},
        {"forcar", "", "grava a ECD mesmo com problemas (sai 1 e os lista)"},
        {"conferir", "ARQUIVO", "só confere o arquivo; sai 0 só quando ele passa"}},
       Ecd},
  };
}

}  // namespace qxcn
