#include "reports/extrato.h"

#include <algorithm>
#include <functional>
#include <map>
#include <numeric>
#include <utility>

namespace qx {
namespace {

// Statements built from entries read in any order. An entry before the
// period adds to the opening balance of the statements its accounts belong
// to; one in the period becomes a line of each of them, a single line when
// both its accounts belong to the same statement.
class Extratos {
 public:
  // The statement an account belongs to; 0 for none.
  using Grupo = std::function<int32_t(int32_t conta)>;

  Extratos(CQXData de, Grupo grupo) : de_(de), grupo_(std::move(grupo)) {}

  void Junta(const LancamentoLido& l) {
    const RegDados& d = l.dados;
    const int32_t debito = d.Debito != 0 ? grupo_(d.Debito) : 0;
    const int32_t credito = d.Credito != 0 ? grupo_(d.Credito) : 0;
    if (debito != 0) {
      Lado(debito, l, d.Debito, d.Credito, d.Valor, debito == credito ? d.Valor : CURRENCY{});
    }
    if (credito != 0 && credito != debito) Lado(credito, l, d.Credito, d.Debito, {}, d.Valor);
  }
  Visita Visitante() {
    return [this](const LancamentoLido& l) { Junta(l); };
  }
  std::map<int32_t, Extrato>& Todos() { return extratos_; }

 private:
  void Lado(int32_t grupo, const LancamentoLido& l, int32_t conta, int32_t contrapartida,
            CURRENCY debito, CURRENCY credito) {
    Extrato& extrato = extratos_[grupo];
    if (CQXData(l.dados.DataLancamento) < de_) {
      extrato.anterior.Soma(debito);
      extrato.anterior.Subtrai(credito);
      return;
    }
    extrato.linhas.push_back({l, conta, contrapartida, debito, credito, {}});
  }

  CQXData de_;
  Grupo grupo_;
  std::map<int32_t, Extrato> extratos_;
};

// The lines in date order, those of one day as they were read: counted out
// by day, as a statement's days are few beside its lines, each line moved once.
void OrdenaPorData(std::vector<LinhaExtrato>& linhas) {
  if (linhas.empty()) return;
  const auto dia = [](const LinhaExtrato& l) { return l.lancamento.dados.DataLancamento; };
  const auto [menor, maior] = std::minmax_element(
      linhas.begin(), linhas.end(),
      [&](const LinhaExtrato& a, const LinhaExtrato& b) { return dia(a) < dia(b); });
  const uint32_t primeiro = dia(*menor);
  // Where each day's lines start among the ordered ones.
  std::vector<size_t> inicio(dia(*maior) - primeiro + 2);
  for (const LinhaExtrato& l : linhas) ++inicio[dia(l) - primeiro + 1];
  std::partial_sum(inicio.begin(), inicio.end(), inicio.begin());
  std::vector<size_t> ordem(linhas.size());
  for (size_t i = 0; i < linhas.size(); ++i) ordem[inicio[dia(linhas[i]) - primeiro]++] = i;
  std::vector<LinhaExtrato> ordenadas;
  ordenadas.reserve(linhas.size());
  for (const size_t i : ordem) ordenadas.push_back(std::move(linhas[i]));
  linhas = std::move(ordenadas);
}

// The lines in date order, the balance each leaves, the totals.
void Fecha(Extrato& extrato) {
  OrdenaPorData(extrato.linhas);
  Total saldo = extrato.anterior;
  for (LinhaExtrato& linha : extrato.linhas) {
    saldo.Soma(linha.debito);
    saldo.Subtrai(linha.credito);
    linha.saldo = saldo;
    extrato.debitos.Soma(linha.debito);
    extrato.creditos.Soma(linha.credito);
  }
  extrato.final = saldo;
}

// The entries before the period without their texts, those of it with them.
void Le(SessaoLancamento& servico, Extratos& extratos, const Periodo& periodo) {
  PercorreLancamentos(servico, std::min(periodo.desde, periodo.de), CQXData(periodo.de.Value() - 1),
                      periodo.filial, false, extratos.Visitante());
  PercorreLancamentos(servico, periodo.de, periodo.ate, periodo.filial, true, extratos.Visitante());
}

// A statement of at most this many accounts finds their entries with the
// service's search, one search per account, each a pass over the period's
// records in the server; one of more accounts reads the period once.
constexpr size_t kContasPelaBusca = 4;

}  // namespace

bool Extrato::Estourou() const {
  return anterior.Estourou() || debitos.Estourou() || creditos.Estourou() || final.Estourou();
}

Extrato MontaExtrato(SessaoLancamento& servico, const PlanoDeContas& plano, int32_t conta,
                     const Periodo& periodo) {
  std::vector<int32_t> grupo = plano.Grupo(conta);
  std::sort(grupo.begin(), grupo.end());
  Extratos extratos(periodo.de, [&](int32_t numero) {
    return std::binary_search(grupo.begin(), grupo.end(), numero) ? conta : 0;
  });
  if (grupo.size() <= kContasPelaBusca) {
    PercorreLancamentosDasContas(servico, grupo, std::min(periodo.desde, periodo.de), periodo.ate,
                                 periodo.filial, extratos.Visitante());
  } else {
    Le(servico, extratos, periodo);
  }
  Extrato extrato = std::move(extratos.Todos()[conta]);
  extrato.conta = plano.Busca(conta);
  Fecha(extrato);
  return extrato;
}

std::vector<Extrato> MontaRazao(SessaoLancamento& servico, const PlanoDeContas& plano,
                                int32_t primeira, int32_t ultima, const Periodo& periodo) {
  Extratos extratos(periodo.de, [&](int32_t numero) {
    return numero >= primeira && numero <= ultima ? numero : 0;
  });
  Le(servico, extratos, periodo);
  std::vector<Extrato> razao;
  for (auto& [numero, extrato] : extratos.Todos()) {
    if (extrato.linhas.empty()) continue;
    extrato.conta = plano.Busca(numero);
    Fecha(extrato);
    razao.push_back(std::move(extrato));
  }
  std::stable_sort(razao.begin(), razao.end(), [&](const Extrato& a, const Extrato& b) {
    return plano.Ordem(a.conta.numero) < plano.Ordem(b.conta.numero);
  });
  return razao;
}

}  // namespace qx
