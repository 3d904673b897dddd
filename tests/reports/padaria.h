#pragma once
// A small company's two months, built by hand: a bakery opened in November
// 2026, with two branches, two cost centres, the closing of its result, its
// statements (from its chart) and its two signatories. Its file, checked
// line by line by hand, is Padaria().

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "reports/ecd/demonstracoes.h"
#include "reports/ecd/livro.h"

namespace qx::ecd::test {

inline int64_t R(int64_t reais) { return reais * 10000; }

inline Livro LivroPadaria(std::vector<Lancamento>* lancamentos) {
  Livro l;
  l.empresa = {"Padaria Modelo Ltda", "11222333000181", "SP", "3550308", "S\xE3o Paulo",
               "123456789012", "", "35212345678", CQXData::Make(10, 1, 2020), {}, false};
  l.inicio = CQXData::Make(1, 11, 2026);
  l.fim = l.fimExercicio = CQXData::Make(31, 12, 2026);
  l.situacaoInicio = 1;
  const auto conta = [&](std::string codigo, std::string superior, std::string nome,
                         Natureza natureza, bool analitica, int nivel) {
    l.contas.push_back({codigo, superior, nome, natureza, analitica, nivel, {}});
  };
  const Natureza A = Natureza::kAtivo, P = Natureza::kPassivo, PL = Natureza::kPatrimonioLiquido,
                 RE = Natureza::kResultado;
  conta("1", "", "ATIVO", A, false, 1);
  conta("1.1", "1", "ATIVO CIRCULANTE", A, false, 2);
  conta("1.1.1", "1.1", "DISPONIVEL", A, false, 3);
  conta("1.1.1.01", "1.1.1", "Caixa", A, true, 4);
  conta("1.1.1.02", "1.1.1", "Banco", A, true, 4);
  conta("2", "", "PASSIVO", P, false, 1);
  conta("2.1", "2", "PASSIVO CIRCULANTE", P, false, 2);
  conta("2.1.1", "2.1", "FORNECEDORES", P, false, 3);
  conta("2.1.1.01", "2.1.1", "Fornecedores", P, true, 4);
  conta("2.3", "2", "PATRIMONIO LIQUIDO", PL, false, 2);
  conta("2.3.1", "2.3", "CAPITAL SOCIAL", PL, false, 3);
  conta("2.3.1.01", "2.3.1", "Capital subscrito", PL, true, 4);
  conta("2.3.2", "2.3", "LUCROS OU PREJUIZOS", PL, false, 3);
  conta("2.3.2.01", "2.3.2", "Lucros acumulados", PL, true, 4);
  conta("3", "", "RESULTADO", RE, false, 1);
  conta("3.1", "3", "RECEITAS", RE, false, 2);
  conta("3.1.01", "3.1", "Vendas", RE, true, 3);
  conta("3.2", "3", "DESPESAS", RE, false, 2);
  conta("3.2.01", "3.2", "Aluguel", RE, true, 3);
  l.historicos = {{"1", "Venda a vista"}, {"2", "Pagamento de aluguel"}};
  l.centros = {{"10", "Loja", {}}, {"20", "Administra\xE7\xE3o", {}}};
  l.periodos = {
      {CQXData::Make(1, 11, 2026),
       CQXData::Make(30, 11, 2026),
       {{"1.1.1.01", "", 0, R(11500), R(800)},
        {"2.3.1.01", "", 0, 0, R(10000)},
        {"3.1.01", "10", 0, 0, R(1500)},
        {"3.2.01", "10", 0, R(500), 0},
        {"3.2.01", "20", 0, R(300), 0}}},
      {CQXData::Make(1, 12, 2026),
       CQXData::Make(31, 12, 2026),
       {{"1.1.1.01", "", R(10700), R(2000), R(5000)},
        {"1.1.1.02", "", 0, R(5000), 0},
        {"2.1.1.01", "", 0, 0, R(400)},
        {"2.3.1.01", "", -R(10000), 0, 0},
        {"2.3.2.01", "", 0, R(1200), R(3500)},
        {"3.1.01", "10", -R(1500), R(3500), R(2000)},
        {"3.2.01", "10", R(500), 0, R(500)},
        {"3.2.01", "20", R(300), R(400), R(700)}}},
  };
  // The entries, a line a side: branch, number, day and month, account, centre,
  // amount, side, history and its standard code; the entries of the closing
  // are those of its history.
  const struct {
    uint16_t filial;
    uint64_t numero;
    int dia, mes;
    const char *conta, *centro;
    int64_t reais;
    char dc;
    const char *historico, *padrao = "";
  } partidas[] = {
      {1, 1, 5, 11, "1.1.1.01", "", 10000, 'D', "Integraliza\xE7\xE3o do capital"},
      {1, 1, 5, 11, "2.3.1.01", "", 10000, 'C', "Integraliza\xE7\xE3o do capital"},
      {1, 2, 10, 11, "1.1.1.01", "", 1500, 'D', "Venda a vista NF 15", "1"},
      {1, 2, 10, 11, "3.1.01", "10", 1500, 'C', "Venda a vista NF 15", "1"},
      {2, 1, 20, 11, "3.2.01", "10", 500, 'D', "Aluguel de novembro", "2"},
      {2, 1, 20, 11, "3.2.01", "20", 300, 'D', "Aluguel de novembro", "2"},
      {2, 1, 20, 11, "1.1.1.01", "", 800, 'C', "Aluguel de novembro", "2"},
      {1, 3, 2, 12, "1.1.1.02", "", 5000, 'D', "Dep\xF3sito | banco"},
      {1, 3, 2, 12, "1.1.1.01", "", 5000, 'C', "Dep\xF3sito | banco"},
      {1, 4, 10, 12, "1.1.1.01", "", 2000, 'D', "Venda a vista NF 31", "1"},
      {1, 4, 10, 12, "3.1.01", "10", 2000, 'C', "Venda a vista NF 31", "1"},
      {1, 5, 15, 12, "3.2.01", "20", 400, 'D', "Aluguel \x93" "dep\xF3sito\x94 a pagar"},
      {1, 5, 15, 12, "2.1.1.01", "", 400, 'C', "Aluguel \x93" "dep\xF3sito\x94 a pagar"},
      {1, 6, 31, 12, "3.1.01", "10", 3500, 'D', "Encerramento"},
      {1, 6, 31, 12, "2.3.2.01", "", 3500, 'C', "Encerramento"},
      {1, 7, 31, 12, "2.3.2.01", "", 1200, 'D', "Encerramento"},
      {1, 7, 31, 12, "3.2.01", "10", 500, 'C', "Encerramento"},
      {1, 7, 31, 12, "3.2.01", "20", 700, 'C', "Encerramento"},
  };
  lancamentos->clear();
  for (const auto& p : partidas) {
    if (lancamentos->empty() || lancamentos->back().filial != p.filial ||
        lancamentos->back().numero != p.numero) {
      lancamentos->push_back({p.filial, p.numero, CQXData::Make(p.dia, p.mes, 2026),
                              std::string(p.historico) == "Encerramento", {}});
    }
    lancamentos->back().partidas.push_back(
        {p.conta, p.centro, R(p.reais), p.dc, "NF", p.padrao, p.historico});
  }
  l.lancamentos = [lancamentos](const std::function<void(const Lancamento&)>& visita) {
    for (const Lancamento& x : *lancamentos) visita(x);
  };
  l.apuracoes = {
      {CQXData::Make(31, 12, 2026),
       {{"3.1.01", "10", -R(3500)}, {"3.2.01", "10", R(500)}, {"3.2.01", "20", R(700)}}}};
  l.signatarios = {
      {"Ana Contadora", "52998224725", "900", "1SP123456", "SP", "", {}, "ana@contab.com.br",
       "1133334444", false},
      {"Carlos Pereira", "11144477735", "205", "", "", "", {}, "", "", true},
  };
  // The statements from the chart's structure; the file below shows them line by line.
  MontaDemonstracoes(&l);
  return l;
}

// The file of LivroPadaria, line by line (Latin-1), as checked by hand.
inline std::vector<std::string> Padaria() {
  std::vector<std::string> linhas = {
      "|0000|LECD|01112026|31122026|Padaria Modelo "
      "Ltda|11222333000181|SP|123456789012|3550308|||1|1|0||0|0||N|N|0|0||",
      "|0001|0|",
      "|0007|SP|123456789012|",
      "|0990|4|",
      "|I001|0|",
      "|I010|G|9.00|",
      "|I030|TERMO DE ABERTURA|1|DI\xC1RIO GERAL|140|Padaria Modelo "
      "Ltda|35212345678|11222333000181|10012020||S\xE3o Paulo|31122026|",
      "|I050|01112026|01|S|1|1||ATIVO|",
      "|I050|01112026|01|S|2|1.1|1|ATIVO CIRCULANTE|",
      "|I050|01112026|01|S|3|1.1.1|1.1|DISPONIVEL|",
      "|I050|01112026|01|A|4|1.1.1.01|1.1.1|Caixa|",
      "|I052||1.1.1.01|",
      "|I050|01112026|01|A|4|1.1.1.02|1.1.1|Banco|",
      "|I052||1.1.1.02|",
      "|I050|01112026|02|S|1|2||PASSIVO|",
      "|I050|01112026|02|S|2|2.1|2|PASSIVO CIRCULANTE|",
      "|I050|01112026|02|S|3|2.1.1|2.1|FORNECEDORES|",
      "|I050|01112026|02|A|4|2.1.1.01|2.1.1|Fornecedores|",
      "|I052||2.1.1.01|",
      "|I050|01112026|03|S|2|2.3|2|PATRIMONIO LIQUIDO|",
      "|I050|01112026|03|S|3|2.3.1|2.3|CAPITAL SOCIAL|",
      "|I050|01112026|03|A|4|2.3.1.01|2.3.1|Capital subscrito|",
      "|I052||2.3.1.01|",
      "|I050|01112026|03|S|3|2.3.2|2.3|LUCROS OU PREJUIZOS|",
      "|I050|01112026|03|A|4|2.3.2.01|2.3.2|Lucros acumulados|",
      "|I052||2.3.2.01|",
      "|I050|01112026|04|S|1|3||RESULTADO|",
      "|I050|01112026|04|S|2|3.1|3|RECEITAS|",
      "|I050|01112026|04|A|3|3.1.01|3.1|Vendas|",
      "|I052||3.1.01|",
      "|I050|01112026|04|S|2|3.2|3|DESPESAS|",
      "|I050|01112026|04|A|3|3.2.01|3.2|Aluguel|",
      "|I052||3.2.01|",
      "|I075|1|Venda a vista|",
      "|I075|2|Pagamento de aluguel|",
      "|I100|01112026|10|Loja|",
      "|I100|01112026|20|Administra\xE7\xE3o|",
      "|I150|01112026|30112026|",
      "|I155|1.1.1.01||0,00|D|11500,00|800,00|10700,00|D|",
      "|I155|2.3.1.01||0,00|D|0,00|10000,00|10000,00|C|",
      "|I155|3.1.01|10|0,00|D|0,00|1500,00|1500,00|C|",
      "|I155|3.2.01|10|0,00|D|500,00|0,00|500,00|D|",
      "|I155|3.2.01|20|0,00|D|300,00|0,00|300,00|D|",
      "|I150|01122026|31122026|",
      "|I155|1.1.1.01||10700,00|D|2000,00|5000,00|7700,00|D|",
      "|I155|1.1.1.02||0,00|D|5000,00|0,00|5000,00|D|",
      "|I155|2.1.1.01||0,00|D|0,00|400,00|400,00|C|",
      "|I155|2.3.1.01||10000,00|C|0,00|0,00|10000,00|C|",
      "|I155|2.3.2.01||0,00|D|1200,00|3500,00|2300,00|C|",
      "|I155|3.1.01|10|1500,00|C|3500,00|2000,00|0,00|D|",
      "|I155|3.2.01|10|500,00|D|0,00|500,00|0,00|D|",
      "|I155|3.2.01|20|300,00|D|400,00|700,00|0,00|D|",
      "|I200|1-1|05112026|10000,00|N||",
      "|I250|1.1.1.01||10000,00|D|NF||Integraliza\xE7\xE3o do capital||",
      "|I250|2.3.1.01||10000,00|C|NF||Integraliza\xE7\xE3o do capital||",
      "|I200|1-2|10112026|1500,00|N||",
      "|I250|1.1.1.01||1500,00|D|NF|1|Venda a vista NF 15||",
      "|I250|3.1.01|10|1500,00|C|NF|1|Venda a vista NF 15||",
      "|I200|2-1|20112026|800,00|N||",
      "|I250|3.2.01|10|500,00|D|NF|2|Aluguel de novembro||",
      "|I250|3.2.01|20|300,00|D|NF|2|Aluguel de novembro||",
      "|I250|1.1.1.01||800,00|C|NF|2|Aluguel de novembro||",
      "|I200|1-3|02122026|5000,00|N||",
      "|I250|1.1.1.02||5000,00|D|NF||Dep\xF3sito   banco||",
      "|I250|1.1.1.01||5000,00|C|NF||Dep\xF3sito   banco||",
      "|I200|1-4|10122026|2000,00|N||",
      "|I250|1.1.1.01||2000,00|D|NF|1|Venda a vista NF 31||",
      "|I250|3.1.01|10|2000,00|C|NF|1|Venda a vista NF 31||",
      "|I200|1-5|15122026|400,00|N||",
      "|I250|3.2.01|20|400,00|D|NF||Aluguel \"dep\xF3sito\" a pagar||",
      "|I250|2.1.1.01||400,00|C|NF||Aluguel \"dep\xF3sito\" a pagar||",
      "|I200|1-6|31122026|3500,00|E||",
      "|I250|3.1.01|10|3500,00|D|NF||Encerramento||",
      "|I250|2.3.2.01||3500,00|C|NF||Encerramento||",
      "|I200|1-7|31122026|1200,00|E||",
      "|I250|2.3.2.01||1200,00|D|NF||Encerramento||",
      "|I250|3.2.01|10|500,00|C|NF||Encerramento||",
      "|I250|3.2.01|20|700,00|C|NF||Encerramento||",
      "|I350|31122026|",
      "|I355|3.1.01|10|3500,00|C|",
      "|I355|3.2.01|10|500,00|D|",
      "|I355|3.2.01|20|700,00|D|",
      "|I990|79|",
      "|J001|0|",
      "|J005|01112026|31122026|1||",
      "|J100|1|T|1||A|ATIVO|0,00|D|12700,00|D||",
      "|J100|1.1|T|2|1|A|ATIVO CIRCULANTE|0,00|D|12700,00|D||",
      "|J100|1.1.1|T|3|1.1|A|DISPONIVEL|0,00|D|12700,00|D||",
      "|J100|1.1.1.01|D|4|1.1.1|A|Caixa|0,00|D|7700,00|D||",
      "|J100|1.1.1.02|D|4|1.1.1|A|Banco|0,00|D|5000,00|D||",
      "|J100|2|T|1||P|PASSIVO|0,00|D|12700,00|C||",
      "|J100|2.1|T|2|2|P|PASSIVO CIRCULANTE|0,00|D|400,00|C||",
      "|J100|2.1.1|T|3|2.1|P|FORNECEDORES|0,00|D|400,00|C||",
      "|J100|2.1.1.01|D|4|2.1.1|P|Fornecedores|0,00|D|400,00|C||",
      "|J100|2.3|T|2|2|P|PATRIMONIO LIQUIDO|0,00|D|12300,00|C||",
      "|J100|2.3.1|T|3|2.3|P|CAPITAL SOCIAL|0,00|D|10000,00|C||",
      "|J100|2.3.1.01|D|4|2.3.1|P|Capital subscrito|0,00|D|10000,00|C||",
      "|J100|2.3.2|T|3|2.3|P|LUCROS OU PREJUIZOS|0,00|D|2300,00|C||",
      "|J100|2.3.2.01|D|4|2.3.2|P|Lucros acumulados|0,00|D|2300,00|C||",
      "|J150|1|3|T|1||RESULTADO|||2300,00|C|R||",
      "|J150|2|3.1|T|2|3|RECEITAS|||3500,00|C|R||",
      "|J150|3|3.1.01|D|3|3.1|Vendas|||3500,00|C|R||",
      "|J150|4|3.2|T|2|3|DESPESAS|||1200,00|D|D||",
      "|J150|5|3.2.01|D|3|3.2|Aluguel|||1200,00|D|D||",
      "|J900|TERMO DE ENCERRAMENTO|1|DI\xC1RIO GERAL|Padaria Modelo Ltda|140|01112026|31122026|",
      "|J930|Ana Contadora|52998224725|Contador/Contabilista|900|1SP123456|ana@contab.com.br|"
      "1133334444|SP|||N|",
      "|J930|Carlos Pereira|11144477735|Administrador|205|||||||S|",
      "|J990|25|",
      "|9001|0|",
  };
  // Block 9 counts each record of the file, in the order they first come.
  std::vector<std::pair<std::string, int>> contagem;
  for (const std::string& linha : linhas) {
    const std::string registro = linha.substr(1, 4);
    auto r = std::find_if(contagem.begin(), contagem.end(),
                          [&](const auto& c) { return c.first == registro; });
    if (r == contagem.end()) r = contagem.insert(r, {registro, 0});
    ++r->second;
  }
  contagem.insert(contagem.end(),
                  {{"9900", static_cast<int>(contagem.size()) + 3}, {"9990", 1}, {"9999", 1}});
  for (const auto& [registro, n] : contagem) {
    linhas.push_back("|9900|" + registro + "|" + std::to_string(n) + "|");
  }
  linhas.insert(linhas.end(), {"|9990|32|", "|9999|140|"});
  return linhas;
}

}  // namespace qx::ecd::test
