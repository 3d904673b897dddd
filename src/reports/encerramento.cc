#include "reports/encerramento.h"

#include <cstdint>

#include "reports/falha.h"
#include "values/qx_dmcps.h"
#include "values/qx_mes_ano.h"

namespace qx {

bool EhEncerramento(const RegDados& dados) {
  return OriginModule(dados.wChaveOrigem.lChaveModulo) == kModuloEncerramento;
}

bool EhEncerramentoDe(const RegDados& dados, int ano) {
  return EhEncerramento(dados) &&
         OriginKey(dados.wChaveOrigem.lChaveModulo) == static_cast<uint32_t>(ano);
}

Exercicio ExercicioDoAno(int ano) {
  return {ano, CQXData::Make(1, 1, ano), CQXData::Make(31, 12, ano)};
}

std::string ComplementoDeEncerramento(int ano) {
  return "Encerramento do exerc\xED"
         "cio " +
         std::to_string(ano);
}

std::vector<RegDados> LancamentosDeEncerramento(const PlanoDeContas& plano,
                                                const std::map<uint16_t, Saldos>& porFilial,
                                                int32_t patrimonio, const Exercicio& exercicio) {
  std::vector<RegDados> lancamentos;
  for (const auto& [filial, saldos] : porFilial) {
    for (const Conta& conta : plano.Contas()) {
      const Total saldo = saldos.De(conta.numero);
      if (!EhResultado(conta.natureza) || saldo.Zero()) continue;
      if (saldo.Estourou() || saldo.Valor().int64 == INT64_MIN) {
        throw FalhaLocal("o saldo da conta " + std::to_string(conta.numero) + " na filial " +
                         std::to_string(filial) + " passa do maior valor que um lançamento guarda");
      }
      RegDados d{};
      d.DataLancamento = exercicio.fim.Value();
      d.Filial = static_cast<int16_t>(filial);
      d.wChaveOrigem.lChaveModulo =
          MakeChaveModulo(static_cast<uint32_t>(exercicio.ano), kModuloEncerramento);
      d.wChaveOrigem.iData = static_cast<uint16_t>(exercicio.fim.MesAno().Value());
      // A debit balance is taken off by a credit to the account; a credit one by a debit.
      const int64_t valor = saldo.Valor().int64;
      d.Debito = valor > 0 ? patrimonio : conta.numero;
      d.Credito = valor > 0 ? conta.numero : patrimonio;
      d.Valor.int64 = valor > 0 ? valor : -valor;
      lancamentos.push_back(d);
    }
  }
  return lancamentos;
}

}  // namespace qx
