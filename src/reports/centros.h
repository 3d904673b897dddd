#pragma once
// The cost-centre report: per managerial account (cost centre), the amounts
// and quantities that the split lines of the period's entries allot to it,
// by accounting account, with the centre's totals and the grand total.

#include <cstdint>
#include <vector>

#include "reports/plano.h"
#include "reports/sessao.h"
#include "values/qx_data.h"
#include "values/total.h"

namespace qx {

struct PedidoCentros {
  CQXData de;
  CQXData ate;
  uint16_t filial = 0;  // 0: every active branch
  int32_t centro = 0;   // 0: every centre; a total account: every centre under it
};

struct Alocado {
  Total valor;
  Total quantidade;

  void Soma(const Alocado& outro);
  bool Estourou() const { return valor.Estourou() || quantidade.Estourou(); }
};

struct LinhaCentro {
  Conta conta;  // of the accounting chart
  Alocado alocado;
};

struct Centro {
  Conta centro;                     // of the managerial chart
  std::vector<LinhaCentro> contas;  // in the order of the accounting chart
  Alocado total;
};

struct Centros {
  std::vector<Centro> centros;  // in the order of the managerial chart
  Alocado total;

  bool Estourou() const;
};

Centros MontaCentros(SessaoLancamento& servico, const PlanoDeContas& contabil,
                     const PlanoDeContas& gerencial, const PedidoCentros& pedido);

}  // namespace qx
