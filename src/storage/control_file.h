// Controlled creation of missing record files. Every file that the layer
// creates in a folder is listed in that folder's control file (32-byte records,
// record 0 a zero header, entries only appended), and a listed file that has
// vanished is not created again: the open then reports ARQ_NAO_ENCONTRADO.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "storage/retry.h"

namespace qx {

inline constexpr uint32_t kTamanhoRegistroControle = 32;

// How a record-file class keeps its control file.
struct RegraControle {
  const char* nomeControle;  // file name in the folder of the data file
  bool maiusculas;           // entries upper-cased (else kept as written)
  size_t tamanhoEntrada;     // characters of the name kept in an entry
  bool repeteSeEmUso;        // a busy control file is tried once more after 50 ms
};

// "QXCTLARQ.DAT": names upper-cased and cut to 30 characters.
inline constexpr RegraControle kControleArq{"QXCTLARQ.DAT", true, 30, false};
// "QXCTLARQ.dat": names as written, cut to 32 characters.
inline constexpr RegraControle kControleArqEx{"QXCTLARQ.dat", false, 32, true};

// Lists the name of `caminho` in its folder's control file (creating the control
// file with its header when needed). 0 when the name was added now,
// ARQ_NAO_ENCONTRADO when it was listed already, otherwise the failing status.
// Names compare without regard to case.
int RegistraNoControle(std::string_view caminho, const RegraControle& regra);

// Creates the file and writes `tamanhoCabecalho` zero bytes as its header
// record, under the given open and write budgets; closes it again. A file that
// exists meanwhile is left as it is, unless it is empty.
int CriaArquivoZerado(const char* caminho, uint32_t tamanhoCabecalho, const Orcamento& abertura,
                      const Orcamento& gravacao);

}  // namespace qx
