#pragma once
// The rules that an entry keeps before a client saves it, the same for every
// way in (qxcn grava, qxcn importa and whatever saves later). The server
// checks only a date and a branch; these are the rules of the books:
//   - a debit account, a credit account or both, each in the accounting chart
//     and not a total account ('T'), and not the same account twice;
//   - an amount above zero;
//   - a standard history, when given, among the company's histories;
//   - cost centres in the managerial chart and not total accounts, split
//     lines above zero that add up to the amount, each on the entry's debit
//     or credit account (a line naming none takes the result side, see
//     CompletaRateio);
//   - the branch among the user's active branches;
//   - the date inside the company's accounting period.
// Nothing is altered without a word: quantities on a company that keeps none
// and a foreign-currency amount on a company that keeps none are refused (no
// override: the server would drop them), and so are complement characters
// that the company's code page lacks, unless the caller asks for them to be
// stored as '?'. A complement past the stored length gives a warning.

#include <cstdint>
#include <string>
#include <vector>

#include "contract/iqxcn_lancamento.h"
#include "reports/cadastro_empresa.h"

namespace qx {

// One entry as a client is about to save it.
struct LancamentoAGravar {
  RegDados dados{};
  std::string complemento;  // UTF-8, as people wrote it
  std::vector<RegLan_Ger> rateio;
  std::vector<RegQtd_Ger> quantidades;
};

// How far a user who knows what they are doing lets the rules bend.
struct Liberacoes {
  bool semValidar = false;  // the rules of the books become warnings
  bool substituir = false;  // characters outside the code page are stored as '?'
};

// What lets a refused value through.
enum class Contorno {
  kNenhum,        // nothing: the value must be put right
  kSemValidar,    // Liberacoes::semValidar
  kSubstituir,    // Liberacoes::substituir
  kConfiguracao,  // the company's configuration must change first
};

// A rule that a value breaks, or what a save does other than asked.
struct Apontamento {
  std::string campo;  // "débito", as people name the field
  std::string valor;  // "9999", as people read it
  std::string regra;  // "não está no plano de contas"
  Contorno contorno = Contorno::kNenhum;
  // "débito 9999: não está no plano de contas"
  std::string Linha() const;
};

// "débito 9999: não está no plano de contas; valor 0,00: ..."
std::string Motivos(const std::vector<Apontamento>& apontamentos);

// The outcome of checking one entry.
struct Conferencia {
  std::string complemento;           // Windows-1252: the text the service is given
  std::vector<Apontamento> recusas;  // any of them stops the save
  std::vector<Apontamento> avisos;   // the save goes on; people are told
};

class Validador {
 public:
  // Reads the company's data for the identity; a failing read throws FalhaServico.
  explicit Validador(const Identidade& identidade) : cadastro_(identidade) {}

  Conferencia Confere(const LancamentoAGravar& lancamento, Liberacoes liberacoes);
  // Gives each split line that names no accounting account the side of the
  // entry that is a result account, the debit otherwise (reports/natureza.h).
  void CompletaRateio(LancamentoAGravar* lancamento);

 private:
  CadastroEmpresa cadastro_;
};

}  // namespace qx
