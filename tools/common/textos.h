// The words the conventions print.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace qx::cli {

struct Textos {
  const char* uso;                // "uso"
  const char* subcomandos;        // heading of the subcommand list
  const char* opcoes;             // heading of a subcommand's options
  const char* opcoesGlobais;      // heading of the options every subcommand takes
  const char* ajudaAjuda;         // -h, --help
  const char* ajudaVersao;        // --version
  const char* ajudaCompletacao;   // --completion
  const char* ajudaJson;          // --json
  const char* ajudaCsv;           // --csv
  const char* ajudaPlanilha;      // --planilha
  const char* veja;               // "%s help %s" for the options of a subcommand
  const char* opcaoDesconhecida;  // "... %s"
  const char* faltaValor;         // "... %s"
  const char* argumentoAMais;     // "... %s"
  const char* faltaArgumento;     // "... %s"
  const char* faltaOpcao;         // "... --%s"
  const char* subcomandoDesconhecido;
  const char* digaQual;  // "... %s": the actions of a group
  const char* jsonOuCsv;  // --json, --csv, --planilha: one of them
  const char* falhou;          // "%s falhou: ..."
  const char* oQueFazer;       // before a hint
  const char* numeroInvalido;  // "%s: ... %s"
  const char* valorInvalido;
  const char* valorAmbiguo;  // "%s: ... %s ... %s ... %s": option, text, its two readings
  const char* dataInvalida;
  const char* mesInvalido;
};

const Textos& TextosDe();

// The model with each "%s" replaced by the next text, in order.
std::string Formata(std::string_view modelo, std::initializer_list<std::string_view> textos);

}  // namespace qx::cli
