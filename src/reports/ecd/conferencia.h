#pragma once
// The checker's state while it reads a file, and the rules of each family
// (conferencia_*.cc). Lines come one by one; what a rule needs from later
// lines is kept small (the chart, the balances by month, the statements) and
// looked at when the file ends.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "reports/ecd/confere.h"
#include "values/qx_data.h"

namespace qx::ecd {

class Conferencia {
 public:
  explicit Conferencia(const std::function<void(const Problema&)>& relata) : relata_(relata) {}

  // One line without its line break; `crlf` whether it ended in CR LF.
  void Linha(std::string_view linha, bool crlf);
  // After the last line: the rules that need the whole file.
  void Fim();
  uint64_t problemas() const { return problemas_; }

 private:
  // The balances of one account and cost centre in one month, as I155 gives
  // them, and the sums of the entries' lines.
  struct Movimento {
    uint64_t linha = 0;  // the I155, 0 when there is none
    int64_t inicial = 0, final = 0;
    int64_t debitos = 0, creditos = 0;
    int64_t debitosPartidas = 0, creditosPartidas = 0;
  };
  struct Periodo {
    CQXData inicio, fim;
    uint64_t linha = 0;
    std::unordered_map<std::string, Movimento> movimentos;  // by Chave(conta, centro)
  };
  struct Conta {
    std::string codigo, superior;
    int natureza = 0;
    bool analitica = false;
    int nivel = 0;
    uint64_t linha = 0;
  };
  struct LinhaDemonstracao {
    uint64_t linha = 0;
    std::string codigo, superior;
    bool totalizadora = false;
    int nivel = 0;
    char grupo = 0;
    int64_t inicial = 0, final = 0;
  };
  struct Signatario {
    uint64_t linha = 0;
    std::string documento, qualificacao, crc, ufCrc, email, fone, descricao;
    bool responsavel = false;
  };

  using Campos = std::vector<std::string_view>;

  // The form of every line (conferencia.cc).
  bool ConfereForma(const Campos& campos);
  void ConfereOrdem(std::string_view registro, int posicao);
  void ConfereContagens(const Campos& campos);
  void FimForma();

  // 0000, I030, J900, J930 (conferencia_cadastro.cc).
  void Abertura(const Campos& c);
  void TermoAbertura(const Campos& c);
  void TermoEncerramento(const Campos& c);
  void Assinante(const Campos& c);
  void FimCadastro();
  // I050, I052, I075, I100 (conferencia_plano.cc).
  void ContaPlano(const Campos& c);
  void AglutinacaoConta(const Campos& c);
  void FimPlano();
  // A code of an analytic account of the chart, of a cost centre, of a history.
  void ConfereConta(std::string_view conta, std::string_view regra);
  void ConfereCentro(std::string_view centro);
  // I150, I155 and the movements against the entries (conferencia_saldos.cc).
  void PeriodoSaldos(const Campos& c);
  void SaldoPeriodico(const Campos& c);
  void FechaPeriodo();
  void FimSaldos();
  // I200, I250, I350, I355 (conferencia_lancamentos.cc).
  void Lancamento(const Campos& c);
  void PartidaLancamento(const Campos& c);
  void FechaLancamento();
  void DataApuracao(const Campos& c);
  void SaldoAntesEncerramento(const Campos& c);
  void FimEncerramento();
  // J005, J100, J150 (conferencia_demonstracoes.cc).
  void Demonstracoes(const Campos& c);
  void LinhaBalanco(const Campos& c);
  void LinhaResultado(const Campos& c);
  void FimDemonstracoes();
  void ConfereArvore(const std::vector<LinhaDemonstracao>& linhas, std::string_view registro,
                     std::string_view prefixo, size_t niveisUm);

  // A problem of the line being read, or (Fim) of any line: those are sorted.
  void Relata(std::string regra, std::string encontrado, std::string correcao);
  void RelataEm(uint64_t linha, std::string registro, std::string regra, std::string encontrado,
                std::string correcao);
  static std::string Chave(std::string_view conta, std::string_view centro);
  // The period (index into periodos_) that holds the date, or -1.
  int PeriodoDe(CQXData data) const;
  const Conta* AchaConta(std::string_view codigo) const;

  const std::function<void(const Problema&)>& relata_;
  uint64_t problemas_ = 0;
  bool noFim_ = false;  // reading done: problems are sorted before they go
  std::vector<Problema> doFim_;
  std::unordered_map<std::string, uint64_t> porRegra_;  // past a few, a rule's problems are counted

  // Where the reading is.
  uint64_t linha_ = 0;
  std::string registro_;
  int posicao_ = -1;
  std::vector<std::string> ultimoNoNivel_ = std::vector<std::string>(6);
  std::unordered_map<std::string, uint64_t> contagem_;  // lines by register
  char bloco_ = 0;
  uint64_t linhasBloco_ = 0;
  std::unordered_map<std::string, std::pair<uint64_t, uint64_t>> declarados9900_;  // count, line
  uint64_t linhaFinal_ = 0;  // the 9999's line; 0 before it
  uint64_t qtd9990_ = 0, linha9990_ = 0, linhasBloco9_ = 0;

  // 0000, I030, J900.
  CQXData inicio_, fim_, fimExercicio_;
  std::string nome_, cnpj_, numeroLivro_, naturezaLivro_, indNire_;
  struct Declarado {
    uint64_t quantidade, linha;
    std::string registro;
  };
  std::vector<Declarado> linhasDeclaradas_;  // QTD_LIN of I030 and J900
  std::vector<Signatario> signatarios_;

  // The chart.
  std::vector<Conta> contas_;
  std::unordered_map<std::string, size_t> indiceContas_;
  bool planoConferido_ = false;
  std::vector<std::pair<std::string, std::string>> aglutinacoes_;  // account, code (I052)
  std::unordered_set<std::string> centros_, historicos_;

  // The balances.
  std::vector<Periodo> periodos_;
  std::unordered_map<std::string, std::pair<int64_t, int>> ultimoSaldo_;  // final, period
  bool periodoAberto_ = false;

  // The entries being read, the numbers seen and the closing entries' sums.
  std::string numeroLancamento_;
  uint64_t linhaLancamento_ = 0;
  CQXData dataLancamento_;
  int periodoLancamento_ = -1;
  bool encerramento_ = false;
  int64_t valorLancamento_ = 0, debitos_ = 0, creditos_ = 0;
  uint64_t partidas_ = 0;
  bool lancamentoAberto_ = false;
  std::vector<std::pair<uint64_t, uint64_t>> numeros_;        // hash of the number, line
  std::unordered_map<std::string, int64_t> encerramentos_;    // by date + Chave: signed sum
  std::unordered_map<uint32_t, uint64_t> datasEncerramento_;  // a closing entry's date, line
  std::unordered_map<uint32_t, uint64_t> apuracoes_;          // I350 date, line
  uint32_t apuracao_ = 0;
  std::unordered_map<std::string, std::pair<int64_t, uint64_t>> antesEncerramento_;  // I355

  // The statements.
  CQXData inicioDemonstracoes_, fimDemonstracoes_;
  std::vector<LinhaDemonstracao> balanco_, resultado_;
};

}  // namespace qx::ecd
