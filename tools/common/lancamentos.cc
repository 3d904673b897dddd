#include "common/lancamentos.h"

#include "platform/codepage.h"

namespace qx::cli {

std::string Origem(int32_t lChaveModulo) {
  const auto modulo = static_cast<uint32_t>(lChaveModulo);
  if (modulo == 0) return "";
  return std::to_string(modulo & 0xFF) + ":" + std::to_string(modulo >> 8);
}

std::vector<std::string> ColunasLancamento(std::vector<std::string> extra) {
  std::vector<std::string> colunas = {"mes",       "pos",       "data",   "documento",
                                      "debito",    "credito",   "valor",  "filial",
                                      "historico", "conferido", "origem", "complemento"};
  colunas.insert(colunas.end(), extra.begin(), extra.end());
  return colunas;
}

std::vector<Celula> CelulasLancamento(const LancamentoLido& l) {
  const RegDados& d = l.dados;
  std::string conferido = d.cConferido != 0 ? "S" : "";
  if (l.excluido) conferido = "excluído";
  std::vector<Celula> celulas = {l.mes,
                                 int64_t{l.posicao},
                                 CQXData(d.DataLancamento),
                                 int64_t{d.Documento},
                                 int64_t{d.Debito},
                                 int64_t{d.Credito},
                                 d.Valor,
                                 int64_t{static_cast<uint16_t>(d.Filial)},
                                 int64_t{static_cast<uint16_t>(d.CodHis)},
                                 conferido,
                                 Origem(d.wChaveOrigem.lChaveModulo),
                                 Celula()};
  // The text moved in, not copied out of the list.
  celulas.back() = TextoCp1252(l.complemento);
  return celulas;
}

Tabela TabelaLancamento(const LancamentoLido& lancamento) {
  Tabela tabela(ColunasLancamento({"moeda"}));
  std::vector<Celula> celulas = CelulasLancamento(lancamento);
  celulas.push_back(lancamento.dados.ValorMoeda);
  tabela.Linha(std::move(celulas));
  return tabela;
}

Tabela TabelaRateio(const RegistrosRateio& rateio) {
  Tabela tabela({"gerencial", "contabil", "valor", "quantidade"});
  for (size_t i = 0; i < rateio.linhas.size(); ++i) {
    const RegLan_Ger& linha = rateio.linhas[i];
    const CURRENCY quantidade =
        i < rateio.quantidades.size() ? rateio.quantidades[i].Quantidade : CURRENCY{};
    tabela.Linha(
        {int64_t{linha.ContaGerencial}, int64_t{linha.ContaContabil}, linha.Valor, quantidade});
  }
  return tabela;
}

Tabela TabelaDiferencas(const std::vector<Reg_Dif>& diferencas, std::optional<CQXData> de,
                        std::optional<CQXData> ate, Total& total) {
  Tabela tabela({"data", "filial", "usuario", "diferenca"});
  for (const Reg_Dif& d : diferencas) {
    const CQXData data(d.Data);
    if ((de && data < *de) || (ate && *ate < data)) continue;
    tabela.Linha({data, int64_t{d.Filial}, int64_t{d.Usuario}, d.Valor});
    total.Soma(d.Valor);
  }
  return tabela;
}

Tabela TabelaTotal(const Total& total) {
  Tabela tabela({"total"});
  tabela.Linha({total});
  return tabela;
}

}  // namespace qx::cli
