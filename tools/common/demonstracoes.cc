#include "common/demonstracoes.h"

#include "common/falhas.h"
#include "common/periodo.h"
#include "common/relatorios.h"
#include "common/total.h"
#include "platform/codepage.h"
#include "reports/cadastro_empresa.h"
#include "values/br_text.h"

namespace qx::cli {
namespace {

const std::vector<std::string> kColunasLinha = {"grupo", "conta", "classificacao",
                                                "nome",  "nivel", "total"};

// An account of a statement: its nature as the group (or "sem_natureza").
void LinhasDeContas(Tabela& tabela, const std::vector<LinhaSecao>& linhas, bool paraPessoas) {
  for (const LinhaSecao& linha : linhas) {
    Conta conta = linha.conta;
    if (paraPessoas && conta.nivel > 1) conta.nome.insert(0, 2 * (conta.nivel - 1), ' ');
    const char* natureza = NomeNatureza(conta.natureza);
    std::vector<Celula> celulas = {*natureza != '\0' ? natureza : "sem_natureza",
                                   int64_t{conta.numero},
                                   TextoCp1252(conta.classificacao),
                                   TextoCp1252(conta.nome),
                                   int64_t{conta.nivel},
                                   conta.total};
    celulas.insert(celulas.end(), linha.colunas.begin(), linha.colunas.end());
    tabela.Linha(std::move(celulas));
  }
}

// A line the statement works out: its group and its name, no account.
void Calculada(Tabela& tabela, const std::string& grupo, const std::string& nome,
               const std::vector<Total>& valores) {
  std::vector<Celula> celulas = {grupo, Celula(), "", nome, Celula(), Celula()};
  celulas.insert(celulas.end(), valores.begin(), valores.end());
  tabela.Linha(std::move(celulas));
}

// The figures of the columns of a balance sheet, one field of each.
std::vector<Total> DasColunas(const Balanco& b, Total (*campo)(const ColunaBalanco&)) {
  std::vector<Total> totais;
  for (const ColunaBalanco& c : b.colunas) totais.push_back(campo(c));
  return totais;
}

}  // namespace

std::vector<Opcao> OpcoesBalanco() {
  return {{"em", "DD/MM/AAAA", "a data do balanço (31 de dezembro do ano corrente por omissão)"},
          {"comparar", "DD/MM/AAAA", "mostra ao lado o balanço de outra data"},
          {"desde", "DD/MM/AAAA",
           "de onde os saldos somam (o início do exercício da empresa por omissão)"},
          {"filial", "N", "só os lançamentos da filial"},
          {"nivel", "N", "só as contas até o nível N do plano"}};
}

PedidoBalanco LePedidoBalanco(const Argumentos& a, const Identidade& identidade) {
  std::vector<CQXData> datas = {
      a.Data("em").value_or(CQXData::Make(31, 12, CQXMesAno::Current().Year()))};
  if (const auto comparar = a.Data("comparar")) datas.push_back(*comparar);
  const std::optional<CQXData> desde = a.Data("desde");
  const CQXData inicio = desde ? CQXData() : CadastroEmpresa(identidade).InicioExercicio();
  PedidoBalanco pedido;
  for (const CQXData data : datas) {
    const CQXData de = desde ? *desde : InicioDosLivros(inicio, data);
    if (data < de) throw ErroUso{"--desde depois de " + DateText(data)};
    pedido.datas.push_back({de, data});
  }
  pedido.filial = static_cast<uint16_t>(a.Inteiro("filial", 1, UINT16_MAX).value_or(0));
  pedido.nivel = static_cast<uint16_t>(a.Inteiro("nivel", 1, UINT16_MAX).value_or(0));
  return pedido;
}

std::vector<Opcao> OpcoesDre() {
  return Junta<Opcao>({OpcoesDatas(),
                       {{"filial", "N", "só os lançamentos da filial"},
                        {"nivel", "N", "só as contas até o nível N do plano"},
                        {"por-mes", "", "também o valor de cada mês"}}});
}

PedidoDre LePedidoDre(const Argumentos& a) {
  const Datas datas = LeDatas(a);
  return {datas.de, datas.ate,
          static_cast<uint16_t>(a.Inteiro("filial", 1, UINT16_MAX).value_or(0)),
          static_cast<uint16_t>(a.Inteiro("nivel", 1, UINT16_MAX).value_or(0)), a.Marca("por-mes")};
}

std::string TituloBalanco(const Balanco& b, uint16_t filial) {
  std::string titulo = "Balanço em " + DateText(b.colunas.at(0).em);
  if (b.colunas.size() > 1) titulo += ", comparado a " + DateText(b.colunas[1].em);
  if (filial != 0) titulo += ", filial " + std::to_string(filial);
  return titulo;
}

Tabela TabelaBalanco(const Balanco& b, bool paraPessoas) {
  std::vector<std::string> colunas = kColunasLinha;
  colunas.push_back("saldo");
  if (b.colunas.size() > 1) colunas.push_back("saldo_comparado");
  Tabela tabela(colunas);
  LinhasDeContas(tabela, b.ativo, paraPessoas);
  Calculada(tabela, "total_ativo", "Total do ativo",
            DasColunas(b, [](const ColunaBalanco& c) { return c.ativo; }));
  LinhasDeContas(tabela, b.passivo, paraPessoas);
  Calculada(tabela, "resultado_nao_encerrado", "Resultado do exercício não encerrado",
            DasColunas(b, [](const ColunaBalanco& c) { return c.resultado; }));
  Calculada(tabela, "total_passivo_e_patrimonio", "Total do passivo e patrimônio líquido",
            DasColunas(b, [](const ColunaBalanco& c) { return c.PassivoEPatrimonio(); }));
  LinhasDeContas(tabela, b.compensacao, paraPessoas);
  LinhasDeContas(tabela, b.semNatureza, paraPessoas);
  return tabela;
}

Tabela TabelaTotaisBalanco(const Balanco& b) {
  Tabela tabela({"em", "desde", "ativo", "passivo", "patrimonio", "resultado",
                 "passivo_e_patrimonio", "diferenca", "um_lado", "compensacao", "sem_natureza"});
  for (const ColunaBalanco& c : b.colunas) {
    tabela.Linha({c.em, c.desde, c.ativo, c.passivo, c.patrimonio, c.resultado,
                  c.PassivoEPatrimonio(), c.Diferenca(), c.umLado, c.compensacao, c.semNatureza});
  }
  return tabela;
}

std::string TextoTotaisBalanco(const Balanco& b) {
  std::string texto;
  for (const ColunaBalanco& c : b.colunas) {
    if (!texto.empty()) texto += "\n";
    texto += "Em " + DateText(c.em) + " (lançamentos desde " + DateText(c.desde) + "): ativo " +
             TotalParaPessoas(c.ativo);
    if (c.Diferenca().Zero()) {
      texto += " = passivo " + TotalParaPessoas(c.passivo) + " + patrimônio líquido " +
               TotalParaPessoas(c.patrimonio) + " + resultado não encerrado " +
               TotalParaPessoas(c.resultado) + ".";
      continue;
    }
    texto += ", passivo e patrimônio líquido " + TotalParaPessoas(c.PassivoEPatrimonio()) +
             ": diferença de " + TotalParaPessoas(c.Diferenca()) + ", que vem de";
    const std::pair<const Total*, std::string> causas[] = {
        {&c.umLado, "lançamentos com uma conta só (débito sem crédito menos crédito sem débito)"},
        {&c.compensacao, "menos contas de compensação"},
        {&c.semNatureza, "menos contas sem natureza (qxadmin natureza define as dá)"}};
    for (const auto& [total, nome] : causas) {
      if (!total->Zero()) texto += "\n  " + nome + ": " + TotalParaPessoas(*total);
    }
  }
  return texto;
}

Tabela TabelaDre(const Dre& dre, bool paraPessoas) {
  std::vector<std::string> colunas = kColunasLinha;
  for (const CQXMesAno mes : dre.meses) colunas.push_back(mes.Text(10, '-'));
  colunas.push_back("valor");
  Tabela tabela(colunas);
  const auto secao = [&](const SecaoDre& s, const char* grupo, const char* nome) {
    LinhasDeContas(tabela, s.linhas, paraPessoas);
    Calculada(tabela, grupo, nome, s.total);
  };
  secao(dre.receitas, "receita_bruta", "Receita bruta");
  secao(dre.deducoes, "deducoes", "(-) Deduções da receita");
  Calculada(tabela, "receita_liquida", "Receita líquida", dre.receitaLiquida);
  secao(dre.custos, "custos", "(-) Custos");
  Calculada(tabela, "resultado_bruto", "Resultado bruto", dre.resultadoBruto);
  secao(dre.despesas, "despesas", "(-) Despesas");
  Calculada(tabela, "resultado", "Resultado do período", dre.resultado);
  return tabela;
}

Tabela TabelaTotaisDre(const Dre& dre) {
  Tabela tabela({"receita_bruta", "deducoes", "receita_liquida", "custos", "resultado_bruto",
                 "despesas", "resultado"});
  tabela.Linha({dre.receitas.total.back(), dre.deducoes.total.back(), dre.receitaLiquida.back(),
                dre.custos.total.back(), dre.resultadoBruto.back(), dre.despesas.total.back(),
                dre.resultado.back()});
  return tabela;
}

std::string TextoTotaisDre(const Dre& dre) {
  const Total& resultado = dre.resultado.back();
  const bool lucro = !resultado.Estourou() && resultado.Valor().int64 >= 0;
  return std::string(lucro ? "Lucro" : "Prejuízo") + " do período: " + TotalParaPessoas(resultado) +
         " (os lançamentos de encerramento do exercício ficam fora).";
}

}  // namespace qx::cli
