#pragma once
// The lines of an import file read, decoded and checked by the rules of a
// save, all before anything is saved: those to save, the refused ones and the
// warnings, by line number.

#include <cstddef>
#include <vector>

#include "comandos.h"
#include "importa_linha.h"

namespace qxcn {

struct LinhaLida {
  size_t numero;
  LinhaImportada linha;
};

struct LeituraImportacao {
  std::vector<LinhaLida> lidas;                         // in the file's order
  Tabela erros{{"linha", "motivo"}};                    // the refused lines
  Tabela avisos{{"linha", "campo", "valor", "aviso"}};  // of lines to save
  std::vector<qx::Apontamento> recusas;                 // of every refused line
};

// --codificacao, --cabecalho, and the options of the rules.
std::vector<Opcao> OpcoesLeituraImportacao();

// The file named by the first word (- for standard input), read with the
// layout; lines without a branch get `filial`.
LeituraImportacao LeImportacao(const Argumentos& argumentos, Servico& servico, const Layout& layout,
                               uint16_t filial);

}  // namespace qxcn
