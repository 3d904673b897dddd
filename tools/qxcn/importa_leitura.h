#pragma once
// The options of importa that say how to read the file, and the tables it
// shows of what the reading found.

#include <string>
#include <vector>

#include "arquivo_texto.h"
#include "comandos.h"
#include "reports/importacao/leitura.h"

namespace qxcn {

using qx::Layout;
using qx::LinhaLida;

struct LeituraImportacao {
  qx::LeituraImportacao lida;
  Tabela erros{{"linha", "motivo"}};                    // the refused lines
  Tabela avisos{{"linha", "campo", "valor", "aviso"}};  // of lines to save
};

// --codificacao, --cabecalho, --delimitador and the options of the rules.
std::vector<Opcao> OpcoesLeituraImportacao();

// The file named by the first word (- for standard input), read with the
// layout, at --delimitador or the delimiter its lines use; lines without a
// branch get `filial`.
LeituraImportacao LeImportacao(const Argumentos& argumentos, Servico& servico, const Layout& layout,
                               uint16_t filial);

// Writes the refused lines as they were, each with one more field: its
// number and why it was refused.
void GravaRejeitadas(const std::string& caminho, const LeituraImportacao& leitura);

}  // namespace qxcn
