// The statements (J005, J100, J150): their trees of lines, their totals,
// assets against liabilities and equity, and their detail lines against the
// balances of the accounts the chart gives them (I052).
#include <algorithm>
#include <map>

#include "reports/ecd/conferencia.h"
#include "reports/ecd/formato.h"
#include "values/br_text.h"

namespace qx::ecd {
namespace {

constexpr const char* kLinhas =
    "dê às contas as linhas das demonstrações (qxadmin aglutinacao define) e gere o arquivo "
    "de novo";

std::string Quantia(int64_t valor) { return AmountText(CURRENCY{valor}); }
std::string Texto(std::string_view latin1) { return "'" + Latin1ParaUtf8(latin1) + "'"; }

int64_t Assinado(std::string_view valor, std::string_view indicador) {
  const int64_t v = LeValor(valor).value_or(0);
  return indicador == "C" ? -v : v;
}

}  // namespace

void Conferencia::Demonstracoes(const Campos& c) {
  inicioDemonstracoes_ = *LeData(c[1]);
  fimDemonstracoes_ = *LeData(c[2]);
}

void Conferencia::LinhaBalanco(const Campos& c) {
  balanco_.push_back({linha_, std::string(c[1]), std::string(c[4]), c[2] == "T",
                      static_cast<int>(std::min<uint64_t>(LeNumero(c[3]).value_or(0), 99)), c[5][0],
                      Assinado(c[7], c[8]), Assinado(c[9], c[10])});
}

void Conferencia::LinhaResultado(const Campos& c) {
  resultado_.push_back({linha_, std::string(c[2]), std::string(c[5]), c[3] == "T",
                        static_cast<int>(std::min<uint64_t>(LeNumero(c[4]).value_or(0), 99)),
                        c[11][0], 0, Assinado(c[9], c[10])});
}

void Conferencia::ConfereArvore(const std::vector<LinhaDemonstracao>& linhas,
                                std::string_view registro, std::string_view prefixo,
                                size_t niveisUm) {
  const std::string reg(registro), p(prefixo);
  std::map<std::string, const LinhaDemonstracao*> porCodigo;
  std::map<std::string, std::pair<int64_t, int64_t>> somas;  // children's initial, final
  size_t primeiros = 0;
  for (const LinhaDemonstracao& l : linhas) {
    if (!porCodigo.emplace(l.codigo, &l).second) {
      RelataEm(l.linha, reg, p + "_DUPLICADA", "código " + Texto(l.codigo) + " duas vezes",
               kLinhas);
    }
    primeiros += l.nivel == 1 ? 1 : 0;
    Acumula(somas[l.superior].first, l.inicial);
    Acumula(somas[l.superior].second, l.final);
  }
  if (primeiros != niveisUm) {
    RelataEm(0, reg, p + "_NIVEL_1",
             std::to_string(primeiros) + " linhas de nível 1; a demonstração tem " +
                 std::to_string(niveisUm),
             kLinhas);
  }
  for (const LinhaDemonstracao& l : linhas) {
    const auto pai = porCodigo.find(l.superior);
    const bool arvore = l.nivel == 1 ? l.superior.empty() && l.totalizadora
                                     : pai != porCodigo.end() && pai->second->totalizadora &&
                                           pai->second->nivel < l.nivel && l.superior != l.codigo;
    if (!arvore) {
      RelataEm(l.linha, reg, p + "_ESTRUTURA",
               "linha " + Texto(l.codigo) + " de nível " + std::to_string(l.nivel) + " sob " +
                   Texto(l.superior),
               "a linha de nível 1 é totalizadora e sem superior; as outras ficam sob uma "
               "totalizadora de nível menor");
    }
    const auto filhos = somas.find(l.codigo);
    if (l.totalizadora && filhos != somas.end() &&
        (filhos->second.first != l.inicial || filhos->second.second != l.final)) {
      RelataEm(l.linha, reg, p + "_SOMA",
               "linha " + Texto(l.codigo) + " com " + Quantia(l.inicial) + " e " +
                   Quantia(l.final) + "; as linhas abaixo somam " + Quantia(filhos->second.first) +
                   " e " + Quantia(filhos->second.second),
               "gere o arquivo de novo");
    }
  }
}

void Conferencia::FimDemonstracoes() {
  const bool fimDoExercicio =
      !fimExercicio_.IsEmpty() && inicio_ <= fimExercicio_ && fimExercicio_ <= fim_;
  if (fimDoExercicio && (balanco_.empty() || resultado_.empty())) {
    RelataEm(0, "J100", "DEMONSTRACAO_AUSENTE",
             "o exercício acaba em " + DateText(fimExercicio_) +
                 " e faltam o balanço (J100) ou a DRE (J150)",
             "gere o arquivo com as demonstrações do exercício");
  }
  if (balanco_.empty() && resultado_.empty()) return;
  ConfereArvore(balanco_, "J100", "BALANCO", 2);
  ConfereArvore(resultado_, "J150", "DRE", 1);
  int64_t inicial = 0, final = 0;
  for (const LinhaDemonstracao& l : balanco_) {
    if (l.nivel == 1) {
      Acumula(inicial, l.inicial);
      Acumula(final, l.final);
    }
  }
  if (inicial != 0 || final != 0) {
    RelataEm(0, "J100", "BALANCO_ATIVO_PASSIVO",
             "o ativo difere do passivo mais o patrimônio líquido em " + Quantia(inicial) +
                 " no início e " + Quantia(final) + " no fim",
             "os livros têm lançamentos de um lado só ou o resultado não foi encerrado: "
             "corrija-os e encerre o exercício (qxcn encerra)");
  }
  // The accounts' balances by statement line: the months of the statements'
  // start and end, and the result accounts before the closing.
  const int primeiro = PeriodoDe(inicioDemonstracoes_), ultimo = PeriodoDe(fimDemonstracoes_);
  std::map<std::string, std::string> linhaDaConta(aglutinacoes_.begin(), aglutinacoes_.end());
  std::map<std::string, std::pair<int64_t, int64_t>> saldos;  // by code: initial, final
  std::map<std::string, int> naturezas;  // by code: the accounts' natures, as bits
  for (const auto& [conta, codigo] : aglutinacoes_) {
    if (const Conta* c = AchaConta(conta)) naturezas[codigo] |= 1 << c->natureza;
  }
  const auto soma = [&](int periodo, bool final) {
    if (periodo < 0) return;
    for (const auto& [chave, m] : periodos_[static_cast<size_t>(periodo)].movimentos) {
      const auto it = linhaDaConta.find(chave.substr(0, chave.find('\x1F')));
      if (it == linhaDaConta.end()) continue;
      auto& saldo = saldos[it->second];
      Acumula(final ? saldo.second : saldo.first, final ? m.final : m.inicial);
    }
  };
  soma(primeiro, false);
  soma(ultimo, true);
  std::map<std::string, int64_t> resultado;
  const std::string naData = std::to_string(fimDemonstracoes_.Value()) + '\x1E';
  for (const auto& [chave, saldo] : antesEncerramento_) {
    if (chave.compare(0, naData.size(), naData) != 0) continue;
    const std::string conta = chave.substr(naData.size(), chave.find('\x1F') - naData.size());
    const auto it = linhaDaConta.find(conta);
    if (it != linhaDaConta.end()) Acumula(resultado[it->second], saldo.first);
  }
  const auto detalhe = [&](const LinhaDemonstracao& l, std::string_view reg, int naturezasCertas,
                           int64_t inicial, int64_t final, bool comInicial) {
    const auto n = naturezas.find(l.codigo);
    if (n == naturezas.end() || (n->second & ~naturezasCertas) != 0) {
      RelataEm(l.linha, std::string(reg), "DEMONSTRACAO_I052",
               "linha de detalhe " + Texto(l.codigo) +
                   (n == naturezas.end() ? " sem conta que a alimente (I052)"
                                         : " alimentada por contas de outro grupo"),
               kLinhas);
    } else if (final != l.final || (comInicial && inicial != l.inicial)) {
      RelataEm(l.linha, std::string(reg), "DEMONSTRACAO_SALDO",
               "linha " + Texto(l.codigo) + " com " + Quantia(l.final) + "; as suas contas somam " +
                   Quantia(final) + (comInicial ? " (no início " + Quantia(inicial) + ")" : ""),
               kLinhas);
    }
  };
  for (const LinhaDemonstracao& l : balanco_) {
    if (l.totalizadora) continue;
    const auto& s = saldos[l.codigo];
    detalhe(l, "J100", l.grupo == 'A' ? 1 << 1 : (1 << 2 | 1 << 3), s.first, s.second, true);
  }
  for (const LinhaDemonstracao& l : resultado_) {
    if (!l.totalizadora) detalhe(l, "J150", 1 << 4, 0, resultado[l.codigo], false);
  }
}

}  // namespace qx::ecd
