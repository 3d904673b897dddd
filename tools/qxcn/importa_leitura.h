#pragma once
// The lines of an import file read, decoded and checked by the rules of a
// save, all before anything is saved: those to save, the refused ones and the
// warnings, by line number.

#include <cstddef>
#include <string>
#include <vector>

#include "arquivo_texto.h"
#include "comandos.h"
#include "importa_linha.h"

namespace qxcn {

struct LinhaLida {
  size_t numero;
  LinhaImportada linha;
};

struct LeituraImportacao {
  std::vector<LinhaTexto> texto;                        // every line of the file
  char delimitador = ',';                               // the one the lines were read with
  bool reconhecido = false;                             // found in the file, not the layout's
  std::string digesto;                                  // of the lines to import
  size_t linhas = 0;                                    // how many those are
  std::vector<LinhaLida> lidas;                         // in the file's order
  Tabela erros{{"linha", "motivo"}};                    // the refused lines
  Tabela avisos{{"linha", "campo", "valor", "aviso"}};  // of lines to save
  std::vector<qx::Apontamento> recusas;                 // of every refused line
};

// --codificacao, --cabecalho, --delimitador and the options of the rules.
std::vector<Opcao> OpcoesLeituraImportacao();

// The file named by the first word (- for standard input), read with the
// layout, at --delimitador or the delimiter its lines use; lines without a
// branch get `filial`. Blank lines and lines of blank fields are skipped.
LeituraImportacao LeImportacao(const Argumentos& argumentos, Servico& servico, Layout layout,
                               uint16_t filial);

// Writes the refused lines as they were, each with one more field: its
// number and why it was refused.
void GravaRejeitadas(const std::string& caminho, const LeituraImportacao& leitura);

}  // namespace qxcn
