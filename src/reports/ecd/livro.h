#pragma once
// The year's books as the bookkeeping file (ECD, leiaute 9, book type G)
// states them, as plain data: whoever reads the books fills it, the writer
// turns it into the file. Texts are Windows-1252 as the suite keeps them;
// amounts are ten-thousandths (CURRENCY), signed: above zero a debit, below
// zero a credit. Nothing here reads the books.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "values/currency.h"
#include "values/qx_data.h"

namespace qx::ecd {

// The nature of an account, with the file's code (COD_NAT) as its value.
enum class Natureza : uint8_t {
  kAtivo = 1,
  kPassivo = 2,
  kPatrimonioLiquido = 3,
  kResultado = 4,  // revenue, cost and expense
  kCompensacao = 5,
  kOutras = 9,
};

// The legal entity, as registered (0000, 0007, I030).
struct Empresa {
  std::string razaoSocial;
  std::string cnpj;  // 14 digits
  std::string uf;
  std::string municipio;  // IBGE, 7 digits
  std::string nomeMunicipio;
  std::string inscricaoEstadual, inscricaoMunicipal;
  std::string nire;  // 11 digits, or "" without one
  CQXData arquivamento, conversao;
  bool grandePorte = false;
};

struct Signatario {  // J930
  std::string nome;
  std::string documento;  // CPF, or CNPJ for qualification 001
  std::string qualificacao;
  std::string crc, ufCrc, certidaoCrc;
  CQXData validadeCertidao;
  std::string email, telefone;
  bool responsavelLegal = false;
};

struct Conta {           // I050, and I052 for an analytic account
  std::string codigo;    // as people read it: the classification ("1.1.01.001")
  std::string superior;  // the code of the synthetic account one level up; "" at level 1
  std::string nome;
  Natureza natureza = Natureza::kOutras;
  bool analitica = true;
  int nivel = 1;
  CQXData alteracao;  // when it was created or last changed; empty: the file's start
};

// A line of the statements the admin gave an account: it and every analytic
// account under it add to the line `codigo`, shown where the account stands.
struct Aglutinacao {
  std::string conta;
  std::string codigo;
  std::string descricao;  // "" for the account's name
};

struct Historico {  // I075
  std::string codigo;
  std::string texto;
};

struct CentroCusto {  // I100
  std::string codigo;
  std::string nome;
  CQXData alteracao;  // empty: the file's start
};

// One account's month, by cost centre where its lines carry one (I155).
struct Saldo {
  std::string conta;
  std::string centro;  // "" for the lines without a cost centre
  int64_t inicial = 0;
  int64_t debitos = 0;   // above or at zero
  int64_t creditos = 0;  // above or at zero
};

struct Periodo {  // I150: a month, or the part of it the file covers
  CQXData inicio, fim;
  std::vector<Saldo> saldos;
};

struct Partida {  // I250
  std::string conta;
  std::string centro;
  int64_t valor = 0;            // above zero
  char natureza = 'D';          // 'D' debit, 'C' credit
  std::string documento;        // NUM_ARQ: where the voucher is kept
  std::string historicoPadrao;  // code of an I075, or ""
  std::string historico;        // the whole text: standard history and complement
};

struct Lancamento {  // I200
  uint16_t filial = 1;
  uint64_t numero = 0;  // unique within the branch
  CQXData data;
  bool encerramento = false;  // a closing entry of the result accounts
  std::vector<Partida> partidas;
};

// The result accounts' balances before the closing entries of a date (I350/I355).
struct SaldoResultado {
  std::string conta;
  std::string centro;
  int64_t saldo = 0;
};

struct Apuracao {
  CQXData data;
  std::vector<SaldoResultado> saldos;
};

// A line of the balance sheet (J100) or of the income statement (J150).
struct LinhaDemonstracao {
  std::string codigo;    // aggregation code
  std::string superior;  // "" at level 1
  std::string descricao;
  int nivel = 1;
  bool totalizadora = false;  // 'T' totals lines below; 'D' detail, fed by accounts (I052)
  char grupo = 'A';           // balance sheet: 'A' assets, 'P' liabilities and equity;
                              // income statement: 'R' adds to the result, 'D' takes from it
  int64_t inicial = 0;        // the balance sheet's opening value
  int64_t final = 0;          // the closing value (income statement: before closing)

  bool operator==(const LinhaDemonstracao&) const = default;
};

// Walks the year's entries in the order they go to the file, handing each to
// `visita`. The writer walks them twice: once to count the file's lines, once
// to write them; both walks must give the same entries.
using Lancamentos = std::function<void(const std::function<void(const Lancamento&)>& visita)>;

struct Livro {
  Empresa empresa;
  CQXData inicio, fim;   // the period the file covers (DT_INI, DT_FIN)
  CQXData fimExercicio;  // the fiscal year's last day (DT_EX_SOCIAL)
  // IND_SIT_INI_PER: 0 normal, 1 the company's opening, 2 from a merger or
  // split, 3 the first year the file is due.
  int situacaoInicio = 0;
  uint32_t numeroLivro = 1;  // NUM_ORD: the book's order number
  std::string naturezaLivro = "DI\xC1RIO GERAL";
  std::vector<Conta> contas;              // parents before children
  std::vector<Aglutinacao> aglutinacoes;  // the others' line is their own code
  std::vector<Historico> historicos;
  std::vector<CentroCusto> centros;
  std::vector<Periodo> periodos;  // in order, one a month
  Lancamentos lancamentos;
  std::vector<Apuracao> apuracoes;
  std::vector<LinhaDemonstracao> balanco, dre;  // in the order they are shown
  std::vector<Signatario> signatarios;
};

}  // namespace qx::ecd
