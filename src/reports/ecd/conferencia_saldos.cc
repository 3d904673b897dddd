// The months' balances (I150, I155): each balance's arithmetic, each month
// starting where the last ended, each month's sums, and the movements
// against the entries' lines.
#include <algorithm>

#include "reports/ecd/conferencia.h"
#include "reports/ecd/formato.h"
#include "values/br_text.h"

namespace qx::ecd {
namespace {

constexpr const char* kRefaca =
    "gere o arquivo de novo; se persistir, confira a pasta da empresa com qxcheck";

std::string Quantia(int64_t valor) { return AmountText(CURRENCY{valor}); }

// "conta 1.1 (centro 5)".
std::string Nome(const std::string& chave) {
  const size_t separador = chave.find('\x1F');
  std::string nome = "conta '" + Latin1ParaUtf8(chave.substr(0, separador)) + "'";
  if (separador + 1 < chave.size()) {
    nome += " centro '" + Latin1ParaUtf8(chave.substr(separador + 1)) + "'";
  }
  return nome;
}

int64_t Assinado(std::string_view valor, std::string_view indicador) {
  const int64_t v = LeValor(valor).value_or(0);
  return indicador == "C" ? -v : v;
}

}  // namespace

void Conferencia::PeriodoSaldos(const Campos& c) {
  Periodo periodo;
  periodo.inicio = *LeData(c[1]);
  periodo.fim = *LeData(c[2]);
  periodo.linha = linha_;
  const CQXData esperado = periodos_.empty() ? inicio_ : CQXData(periodos_.back().fim.Value() + 1);
  if (periodo.inicio != esperado || periodo.fim < periodo.inicio ||
      periodo.fim.MesAno() != periodo.inicio.MesAno() || periodo.fim > fim_) {
    Relata("PERIODO_SALDOS",
           "de " + DateText(periodo.inicio) + " a " + DateText(periodo.fim) +
               "; o período devia começar em " + DateText(esperado) +
               " e acabar no mesmo mês, até o fim do arquivo",
           kRefaca);
  }
  periodos_.push_back(std::move(periodo));
  periodoAberto_ = true;
}

void Conferencia::SaldoPeriodico(const Campos& c) {
  if (periodos_.empty()) return;
  ConfereConta(c[1], "CONTA_NO_PLANO");
  ConfereCentro(c[2]);
  Movimento m;
  m.linha = linha_;
  m.inicial = Assinado(c[3], c[4]);
  m.debitos = LeValor(c[5]).value_or(0);
  m.creditos = LeValor(c[6]).value_or(0);
  m.final = Assinado(c[7], c[8]);
  const std::string chave = Chave(c[1], c[2]);
  if (m.final != Soma(Soma(m.inicial, m.debitos), -m.creditos)) {
    Relata("SALDO_FINAL",
           Nome(chave) + ": inicial " + Quantia(m.inicial) + " + débitos " + Quantia(m.debitos) +
               " - créditos " + Quantia(m.creditos) + " não dá o final " + Quantia(m.final),
           kRefaca);
  }
  const int periodo = static_cast<int>(periodos_.size()) - 1;
  const auto anterior = ultimoSaldo_.find(chave);
  const int64_t esperado = anterior == ultimoSaldo_.end() ? 0 : anterior->second.first;
  if (periodo > 0 && m.inicial != esperado) {
    Relata("SALDO_CONTINUIDADE",
           Nome(chave) + " começa o mês com " + Quantia(m.inicial) +
               "; o mês anterior acabou com " + Quantia(esperado),
           kRefaca);
  }
  ultimoSaldo_[chave] = {m.final, periodo};
  Movimento& lugar = periodos_.back().movimentos[chave];
  if (lugar.linha != 0) {
    Relata("SALDO_DUPLICADO", Nome(chave) + " duas vezes no mês", kRefaca);
    return;
  }
  m.debitosPartidas = lugar.debitosPartidas;
  m.creditosPartidas = lugar.creditosPartidas;
  lugar = m;
}

void Conferencia::FechaPeriodo() {
  periodoAberto_ = false;
  const Periodo& periodo = periodos_.back();
  const int atual = static_cast<int>(periodos_.size()) - 1;
  int64_t inicial = 0, final = 0, debitos = 0, creditos = 0;
  for (const auto& [chave, m] : periodo.movimentos) {
    Acumula(inicial, m.inicial);
    Acumula(final, m.final);
    Acumula(debitos, m.debitos);
    Acumula(creditos, m.creditos);
  }
  const std::string mes = " em " + MesAnoText(periodo.inicio.MesAno());
  if (inicial != 0 || final != 0) {
    RelataEm(periodo.linha, "I150", "SALDO_SOMA_ZERO",
             "os saldos iniciais somam " + Quantia(inicial) + " e os finais " + Quantia(final) +
                 mes + "; cada um devia somar zero",
             "os livros têm lançamentos de um lado só ou contas fora do plano: corrija-os");
  }
  if (debitos != creditos) {
    RelataEm(periodo.linha, "I150", "SALDO_DEBITOS_CREDITOS",
             "débitos " + Quantia(debitos) + " e créditos " + Quantia(creditos) + mes,
             "os livros têm lançamentos de um lado só: corrija-os");
  }
  std::vector<std::string> sumidas;
  for (const auto& [chave, ultimo] : ultimoSaldo_) {
    if (ultimo.second < atual && ultimo.first != 0) sumidas.push_back(chave);
  }
  std::sort(sumidas.begin(), sumidas.end());
  for (const std::string& chave : sumidas) {
    RelataEm(periodo.linha, "I150", "SALDO_CONTINUIDADE",
             Nome(chave) + " tinha saldo " + Quantia(ultimoSaldo_[chave].first) + " e falta" + mes,
             kRefaca);
    ultimoSaldo_[chave].second = atual;
  }
}

void Conferencia::FimSaldos() {
  if (!periodos_.empty() && periodos_.back().fim != fim_) {
    RelataEm(
        periodos_.back().linha, "I150", "PERIODO_SALDOS",
        "os meses acabam em " + DateText(periodos_.back().fim) + ", o arquivo em " + DateText(fim_),
        kRefaca);
  }
  for (const Periodo& periodo : periodos_) {
    for (const auto& [chave, m] : periodo.movimentos) {
      if (m.debitos != m.debitosPartidas || m.creditos != m.creditosPartidas) {
        RelataEm(m.linha != 0 ? m.linha : periodo.linha, m.linha != 0 ? "I155" : "I150",
                 "SALDO_MOVIMENTO",
                 Nome(chave) + " em " + MesAnoText(periodo.inicio.MesAno()) + ": débitos " +
                     Quantia(m.debitos) + " e créditos " + Quantia(m.creditos) +
                     " nos saldos; as partidas somam " + Quantia(m.debitosPartidas) + " e " +
                     Quantia(m.creditosPartidas),
                 kRefaca);
      }
    }
  }
}

}  // namespace qx::ecd
