// The entries (I200, I250) and the closing of the result accounts (I350,
// I355 against the closing entries and the balances after them).
#include <algorithm>
#include <map>

#include "reports/ecd/conferencia.h"
#include "reports/ecd/formato.h"
#include "values/br_text.h"

namespace qx::ecd {
namespace {

constexpr const char* kEncerra =
    "encerre o exercício de novo: qxcn reabre e qxcn encerra --exercicio AAAA";

std::string Quantia(int64_t valor) { return AmountText(CURRENCY{valor}); }
std::string Texto(std::string_view latin1) { return "'" + Latin1ParaUtf8(latin1) + "'"; }

uint64_t Hash(std::string_view texto) {
  uint64_t hash = 14695981039346656037ull;
  for (const char c : texto) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return hash;
}

std::string NaData(CQXData data, const std::string& chave) {
  return std::to_string(data.Value()) + '\x1E' + chave;
}

}  // namespace

void Conferencia::Lancamento(const Campos& c) {
  lancamentoAberto_ = true;
  numeroLancamento_ = std::string(c[1]);
  linhaLancamento_ = linha_;
  dataLancamento_ = *LeData(c[2]);
  valorLancamento_ = LeValor(c[3]).value_or(0);
  encerramento_ = c[4] == "E";
  debitos_ = creditos_ = 0;
  partidas_ = 0;
  numeros_.emplace_back(Hash(c[1]), linha_);
  periodoLancamento_ = PeriodoDe(dataLancamento_);
  if (periodoLancamento_ < 0) {
    Relata("LANCAMENTO_DATA",
           "lançamento " + Texto(c[1]) + " de " + DateText(dataLancamento_) +
               ", fora dos meses do arquivo",
           "");
  }
  if (encerramento_) datasEncerramento_.emplace(dataLancamento_.Value(), linha_);
}

void Conferencia::PartidaLancamento(const Campos& c) {
  if (!lancamentoAberto_) return;
  ConfereConta(c[1], "LANCAMENTO_CONTA");
  ConfereCentro(c[2]);
  if (!c[6].empty() && historicos_.count(std::string(c[6])) == 0) {
    Relata("HISTORICO_PADRAO", "histórico padrão " + Texto(c[6]) + " fora do I075",
           "inclua-o nos históricos (qxadmin historico inclui)");
  }
  ++partidas_;
  const int64_t valor = LeValor(c[3]).value_or(0);
  const bool debito = c[4] == "D";
  Acumula(debito ? debitos_ : creditos_, valor);
  const std::string chave = Chave(c[1], c[2]);
  if (periodoLancamento_ >= 0) {
    Movimento& m = periodos_[static_cast<size_t>(periodoLancamento_)].movimentos[chave];
    Acumula(debito ? m.debitosPartidas : m.creditosPartidas, valor);
  }
  // The closing entries' counterpart (equity) is no result account.
  const Conta* conta = encerramento_ ? AchaConta(c[1]) : nullptr;
  if (conta != nullptr && conta->natureza == 4) {
    Acumula(encerramentos_[NaData(dataLancamento_, chave)], debito ? valor : -valor);
  }
}

void Conferencia::FechaLancamento() {
  lancamentoAberto_ = false;
  const std::string nome = "lançamento " + Texto(numeroLancamento_);
  if (partidas_ == 0 || debitos_ != creditos_) {
    RelataEm(linhaLancamento_, "I200", "LANCAMENTO_PARTIDAS",
             nome + ": débitos " + Quantia(debitos_) + " e créditos " + Quantia(creditos_),
             "é um lançamento de um lado só: corrija-o nos livros para que débitos e "
             "créditos se igualem");
  } else if (valorLancamento_ != debitos_) {
    RelataEm(linhaLancamento_, "I200", "LANCAMENTO_VALOR",
             nome + " de " + Quantia(valorLancamento_) + "; as partidas somam " +
                 Quantia(debitos_) + " a débito e a crédito",
             "gere o arquivo de novo");
  }
}

void Conferencia::DataApuracao(const Campos& c) {
  const CQXData data = *LeData(c[1]);
  apuracao_ = data.Value();
  if (!apuracoes_.emplace(apuracao_, linha_).second) {
    Relata("ENCERRAMENTO_DUPLICADO", "apuração de " + DateText(data) + " duas vezes", "");
  }
  if (data < inicio_ || data > fim_) {
    Relata("ENCERRAMENTO_DATA", "apuração de " + DateText(data) + " fora do período do arquivo",
           "");
  }
}

void Conferencia::SaldoAntesEncerramento(const Campos& c) {
  ConfereConta(c[1], "CONTA_NO_PLANO");
  ConfereCentro(c[2]);
  const Conta* conta = AchaConta(c[1]);
  if (conta != nullptr && conta->natureza != 4) {
    Relata("ENCERRAMENTO_CONTA_RESULTADO",
           "conta " + Texto(c[1]) + " de natureza " + std::to_string(conta->natureza) +
               ", não de resultado (04)",
           "só contas de resultado se encerram; confira a natureza das contas do plano");
  }
  const int64_t valor = LeValor(c[3]).value_or(0);
  const std::string chave = NaData(CQXData(apuracao_), Chave(c[1], c[2]));
  if (!antesEncerramento_.emplace(chave, std::pair{c[4] == "C" ? -valor : valor, linha_}).second) {
    Relata("ENCERRAMENTO_DUPLICADO", "conta " + Texto(c[1]) + " duas vezes na apuração", "");
  }
}

void Conferencia::FimEncerramento() {
  for (const auto& [data, linha] : std::map(datasEncerramento_.begin(), datasEncerramento_.end())) {
    if (apuracoes_.count(data) == 0) {
      RelataEm(linha, "I200", "ENCERRAMENTO_DATA",
               "lançamento de encerramento de " + DateText(CQXData(data)) +
                   " sem saldos antes do encerramento (I350) nessa data",
               kEncerra);
    }
  }
  if (!fimExercicio_.IsEmpty() && inicio_ <= fimExercicio_ && fimExercicio_ <= fim_ &&
      apuracoes_.count(fimExercicio_.Value()) == 0) {
    RelataEm(0, "I350", "ENCERRAMENTO_EXERCICIO",
             "o exercício acaba em " + DateText(fimExercicio_) +
                 " e o arquivo não tem a apuração do resultado nesse dia",
             "encerre o exercício: qxcn encerra --exercicio AAAA --conta-resultado CONTA");
  }
  std::map<std::string, std::pair<int64_t, uint64_t>> antes(antesEncerramento_.begin(),
                                                            antesEncerramento_.end());
  for (const auto& [chave, soma] : encerramentos_) antes.emplace(chave, std::pair{int64_t{0}, 0});
  for (const auto& [chave, saldo] : antes) {
    const auto it = encerramentos_.find(chave);
    const int64_t encerrado = it == encerramentos_.end() ? 0 : -it->second;
    if (saldo.first != encerrado) {
      const size_t corte = chave.find('\x1E');
      const uint32_t data = static_cast<uint32_t>(std::stoul(chave.substr(0, corte)));
      const std::string conta = chave.substr(corte + 1, chave.find('\x1F') - corte - 1);
      RelataEm(saldo.second != 0 ? saldo.second : apuracoes_[data], "I355", "ENCERRAMENTO_SALDO",
               "conta " + Texto(conta) + " em " + DateText(CQXData(data)) +
                   ": saldo antes do encerramento " + Quantia(saldo.first) +
                   "; os lançamentos de encerramento levam " + Quantia(encerrado),
               kEncerra);
    }
  }
  for (const auto& [data, linha] : apuracoes_) {
    const int p = PeriodoDe(CQXData(data));
    if (p < 0) continue;
    for (const auto& [chave, m] : periodos_[static_cast<size_t>(p)].movimentos) {
      const Conta* conta = AchaConta(chave.substr(0, chave.find('\x1F')));
      if (m.linha != 0 && conta != nullptr && conta->natureza == 4 && m.final != 0) {
        RelataEm(m.linha, "I155", "ENCERRAMENTO_ZERADO",
                 "conta de resultado " + Texto(conta->codigo) + " com saldo " + Quantia(m.final) +
                     " depois do encerramento de " + DateText(CQXData(data)),
                 kEncerra);
      }
    }
  }
  std::sort(numeros_.begin(), numeros_.end());
  for (size_t i = 1; i < numeros_.size(); ++i) {
    if (numeros_[i].first == numeros_[i - 1].first) {
      RelataEm(numeros_[i].second, "I200", "LANCAMENTO_DUPLICADO",
               "o número do lançamento já está na linha " + std::to_string(numeros_[i - 1].second),
               "gere o arquivo de novo (os números levam a filial)");
    }
  }
}

}  // namespace qx::ecd
