#include "reports/extrato.h"

#include <algorithm>
#include <functional>
#include <map>
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

// The lines in date order (those of one day as they were read), the balance
// each leaves, the totals.
void Fecha(Extrato& extrato) {
  std::stable_sort(extrato.linhas.begin(), extrato.linhas.end(),
                   [](const LinhaExtrato& a, const LinhaExtrato& b) {
                     return a.lancamento.dados.DataLancamento < b.lancamento.dados.DataLancamento;
                   });
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

// The complement texts of the lines, read month by month for the entries shown.
void Complementa(SessaoLancamento& servico, std::map<int32_t, Extrato>& extratos) {
  std::map<uint32_t, std::vector<int32_t>> porMes;
  for (const auto& [numero, extrato] : extratos) {
    for (const LinhaExtrato& linha : extrato.linhas) {
      porMes[linha.lancamento.mes.Value()].push_back(linha.lancamento.posicao);
    }
  }
  std::map<std::pair<uint32_t, int32_t>, std::string> textos;
  for (auto& [mes, posicoes] : porMes) {
    std::sort(posicoes.begin(), posicoes.end());
    posicoes.erase(std::unique(posicoes.begin(), posicoes.end()), posicoes.end());
    LeDoMes(servico, CQXMesAno(mes), posicoes, true, [&](const LancamentoLido& l) {
      textos[{mes, l.posicao}] = l.complemento;
    });
  }
  for (auto& [numero, extrato] : extratos) {
    for (LinhaExtrato& linha : extrato.linhas) {
      linha.lancamento.complemento =
          textos[{linha.lancamento.mes.Value(), linha.lancamento.posicao}];
    }
  }
}

}  // namespace

bool Extrato::Estourou() const {
  return anterior.Estourou() || debitos.Estourou() || creditos.Estourou() || final.Estourou();
}

Extrato MontaExtrato(SessaoLancamento& servico, const PlanoDeContas& plano, int32_t conta,
                     const Periodo& periodo) {
  const Conta dados = plano.Busca(conta);
  const CQXData desde = std::min(periodo.desde, periodo.de);
  Extrato extrato;
  if (dados.total) {
    std::vector<int32_t> grupo = plano.Grupo(conta);
    std::sort(grupo.begin(), grupo.end());
    Extratos extratos(periodo.de, [&](int32_t numero) {
      return std::binary_search(grupo.begin(), grupo.end(), numero) ? conta : 0;
    });
    PercorreLancamentos(servico, desde, periodo.ate, {.filial = periodo.filial}, false,
                        extratos.Visitante());
    Complementa(servico, extratos.Todos());
    extrato = std::move(extratos.Todos()[conta]);
  } else {
    // The account search: the opening balance without texts, the period with them.
    Extratos extratos(periodo.de, [conta](int32_t numero) { return numero == conta ? conta : 0; });
    PercorreConta(servico, conta, desde, CQXData(periodo.de.Value() - 1), periodo.filial, false,
                  extratos.Visitante());
    PercorreConta(servico, conta, periodo.de, periodo.ate, periodo.filial, true,
                  extratos.Visitante());
    extrato = std::move(extratos.Todos()[conta]);
  }
  extrato.conta = dados;
  Fecha(extrato);
  return extrato;
}

std::vector<Extrato> MontaRazao(SessaoLancamento& servico, const PlanoDeContas& plano,
                                int32_t primeira, int32_t ultima, const Periodo& periodo) {
  Extratos extratos(periodo.de, [&](int32_t numero) {
    return numero >= primeira && numero <= ultima ? numero : 0;
  });
  PercorreLancamentos(servico, std::min(periodo.desde, periodo.de), periodo.ate,
                      {.filial = periodo.filial}, false, extratos.Visitante());
  std::erase_if(extratos.Todos(), [](const auto& e) { return e.second.linhas.empty(); });
  Complementa(servico, extratos.Todos());
  std::vector<Extrato> razao;
  for (auto& [numero, extrato] : extratos.Todos()) {
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
