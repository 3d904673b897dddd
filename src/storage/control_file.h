// Controlled creation of missing record files. Every file that the layer
// creates in a folder is listed in that folder's control file (32-byte records,
// record 0 a zero header, entries only appended), and a listed file that has
// vanished is not created again: the open then reports ARQ_NAO_ENCONTRADO.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
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

// Creates the missing file `caminho` with `cria` while its folder's control
// file is held (the control file is made with its header when needed), so
// that openers racing for one missing file create it once: the first lists
// its name and creates it; the others, finding the name listed, find the
// file too and get 0, and open it as made. Only a listed file that is absent
// gives ARQ_NAO_ENCONTRADO (it has vanished). Otherwise 0, the result of
// `cria`, or the failing status of the control file. Names compare without
// regard to case.
int CriaSobControle(std::string_view caminho, const RegraControle& regra,
                    const std::function<int()>& cria);

// True when not even an open that shares everything finds the file (or its
// folder); a busy or protected file exists.
bool ArquivoAusente(const char* caminho);

// Creates the file and writes `tamanhoCabecalho` zero bytes as its header
// record, under the given open and write budgets; closes it again. A file that
// exists meanwhile is left as it is, unless it is empty.
int CriaArquivoZerado(const char* caminho, uint32_t tamanhoCabecalho, const Orcamento& abertura,
                      const Orcamento& gravacao);

}  // namespace qx
