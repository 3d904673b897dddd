#pragma once
// One line of a delimited import file, read by an import layout.
//
// The layout's accounting sequence (cSequenciaContabil) names the first
// fields of a line, one letter each, in order:
//   A document number     B branch            C date (DD/MM/AAAA)
//   D debit account       E credit account    F amount (1.234,56)
//   G standard history    H complement text   I foreign-currency amount
//   X a field to skip
// Its managerial sequence (cSequenciaGerencial) names the fields after them,
// repeated for each split line of the entry until the line ends:
//   J managerial account  K amount of the split line
//   L managerial quantity X a field to skip
// So the default layout "Padrão" ("CDEFGH" + "JK") reads
//   date, debit, credit, amount, history, complement[, account, amount]...
// Fields are separated by the layout's delimiter; a field in double quotes
// may hold the delimiter, and "" inside it is one quote. Lines come in UTF-8
// (arquivo_texto.h); what an entry must hold beyond the form of its fields is
// for the rules of a save (reports/validacao.h), which also give each split
// line its accounting account (left 0 here).

#include <optional>
#include <string>
#include <vector>

#include "contract/iqxcn_lancamento.h"
#include "reports/validacao.h"

namespace qx {

struct Layout {
  std::string contabil;
  std::string gerencial;
  char delimitador = ',';
};

// The layout an import reads without --formato when the company has no
// layout of that name: the one the server itself writes under it.
inline constexpr char kNomeLayoutPadrao[] = "Padrão";
inline const Layout kLayoutPadrao{"CDEFGH", "JK", ','};

// The fields of a layout in words: "data, débito, ...; por linha de rateio: ...".
std::string DescreveCampos(const Layout& layout);

// The delimiters a file may use: ; , tab | and :.
bool DelimitadorConhecido(char delimitador);
// The delimiter as people name it: ';' or tab.
std::string NomeDelimitador(char delimitador);

// The delimiter that splits these lines into the layout's fields with a
// date where the layout has one (lines of blank fields aside): the layout's
// own when it does, else the first of ; tab | , : that does; nullopt when
// none does.
std::optional<char> ReconheceDelimitador(const Layout& layout,
                                         const std::vector<std::string>& linhas);

// A line whose fields are all blank (";;;;" of a spreadsheet's empty row).
bool SoCamposVazios(const std::string& texto, char delimitador);

// A line ready to save.
struct LinhaImportada {
  RegDados dados{};
  std::string complemento;  // Windows-1252
  std::vector<RegLan_Ger> rateio;
  std::vector<RegQtd_Ger> quantidades;
};

// Reads one line (UTF-8, without its line end) into *lancamento; on failure
// gives false with the field, its value and what is wrong in *motivo (and a
// hint when the line seems to use another delimiter).
bool LeLinha(const Layout& layout, const std::string& texto, uint16_t filialPadrao,
             LancamentoAGravar* lancamento, Apontamento* motivo);

// A line that reads like a heading: its date field holds no digit.
bool PareceCabecalho(const Layout& layout, const std::string& texto);

// False, with the reason, when the layout's letters are not those above.
bool LayoutValido(const Layout& layout, std::string* motivo);

}  // namespace qx
