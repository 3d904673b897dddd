#pragma once
// The lines of an import file read, decoded and checked by the rules of a
// save, all before anything is saved: those to save, the refused ones and the
// warnings, by line number.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "reports/importacao/linha.h"
#include "reports/validacao.h"
#include "values/qx_data.h"

namespace qx {

// A line of a text file as people have it, decoded to UTF-8.
struct LinhaTexto {
  size_t numero = 0;                      // from 1
  std::string texto;                      // UTF-8, without its line end
  size_t malformado = std::string::npos;  // UTF-8 read: the first byte that is not UTF-8
};

struct LinhaLida {
  size_t numero;
  LinhaImportada linha;
};

struct LinhaRecusada {
  size_t numero;
  std::string motivo;  // Motivos of what the line broke
};

struct AvisoDeLinha {
  size_t numero;
  Apontamento aviso;
};

// How to read the lines.
struct PedidoLeitura {
  Layout layout;
  uint16_t filial = 1;              // of the lines without a branch
  bool cabecalho = false;           // the first line is a heading
  std::optional<char> delimitador;  // else the one the lines use, else the layout's
  Liberacoes liberacoes;
};

struct LeituraImportacao {
  std::vector<LinhaTexto> texto;  // every line of the file
  char delimitador = ',';         // the one the lines were read with
  bool reconhecido = false;       // found in the lines, not the layout's nor asked for
  std::string digesto;            // of the lines to import
  size_t linhas = 0;              // how many those are
  std::vector<LinhaLida> lidas;   // in the file's order
  std::vector<LinhaRecusada> recusadas;
  std::vector<AvisoDeLinha> avisos;  // of lines to save
  std::vector<Apontamento> recusas;  // of every refused line
};

// Reads the lines of a file by the layout. Blank lines and lines of blank
// fields are skipped.
LeituraImportacao LeImportacao(std::vector<LinhaTexto> texto, const PedidoLeitura& pedido,
                               Validador& validador);

// The first and the last date of the lines read.
void PeriodoDasLinhas(const std::vector<LinhaLida>& lidas, CQXData* de, CQXData* ate);

}  // namespace qx
