#include "common/relatorios.h"

#include "common/programa.h"
#include "common/total.h"
#include "platform/codepage.h"
#include "values/br_text.h"

namespace qx::cli {

std::vector<std::string> ColunasConta() { return {"conta", "classificacao", "nome"}; }

std::vector<Celula> CelulasConta(const Conta& conta) {
  return {int64_t{conta.numero}, TextoCp1252(conta.classificacao), TextoCp1252(conta.nome)};
}

std::string NomeConta(const Conta& conta) {
  std::string nome = std::to_string(conta.numero);
  for (const std::string* parte : {&conta.classificacao, &conta.nome}) {
    if (!parte->empty()) nome += " " + Cp1252ToUtf8(*parte);
  }
  return nome;
}

std::string TextoPeriodo(CQXData de, CQXData ate, uint16_t filial) {
  std::string texto = "de " + DateText(de) + " a " + DateText(ate);
  if (filial != 0) texto += ", filial " + std::to_string(filial);
  return texto;
}

Tabela TabelaPeriodo(const Periodo& p) {
  Tabela tabela({"desde", "de", "ate", "filial"});
  tabela.Linha({p.desde, p.de, p.ate, p.filial != 0 ? Celula(p.filial) : Celula()});
  return tabela;
}

Tabela TabelaBalancete(const Balancete& b, bool paraPessoas) {
  std::vector<std::string> colunas =
      Junta<std::string>({ColunasConta(), {"nivel", "total", "saldo_anterior"}});
  if (b.meses.empty()) colunas.insert(colunas.end(), {"debitos", "creditos"});
  for (const CQXMesAno mes : b.meses) colunas.push_back(mes.Text(10, '-'));
  colunas.push_back("saldo_final");
  Tabela tabela(colunas);
  for (const LinhaBalancete& linha : b.linhas) {
    Conta conta = linha.conta;
    // People see the chart's hierarchy in the names.
    if (paraPessoas && conta.nivel > 1) conta.nome.insert(0, 2 * (conta.nivel - 1), ' ');
    std::vector<Celula> celulas = CelulasConta(conta);
    const Figuras& f = linha.figuras;
    celulas.insert(celulas.end(), {int64_t{conta.nivel}, conta.total, f.anterior});
    if (b.meses.empty()) celulas.insert(celulas.end(), {f.debitos, f.creditos});
    for (const Total& mes : f.meses) celulas.push_back(mes);
    celulas.push_back(f.Final());
    tabela.Linha(std::move(celulas));
  }
  return tabela;
}

Tabela TabelaTotaisBalancete(const Balancete& b) {
  Tabela totais({"debitos", "creditos", "diferenca"});
  totais.Linha({b.debitos, b.creditos, b.diferenca});
  return totais;
}

std::string TextoEquilibrio(const Balancete& b, const Periodo& p) {
  std::string texto =
      "Débitos " + TotalParaPessoas(b.debitos) + " e créditos " + TotalParaPessoas(b.creditos);
  if (b.diferenca.Zero()) return texto + ": iguais no período.";
  return texto + ": diferença de " + TotalParaPessoas(b.diferenca) +
         ", os lançamentos com uma conta só (débito sem crédito menos crédito sem débito),\n" +
         "a mesma de qxcn diferencas --de " + DateText(p.de) + " --ate " + DateText(p.ate) + ".";
}

Tabela TabelaLinhasExtrato(std::span<const Extrato> extratos) {
  Tabela tabela({"data", "mes", "pos", "conta", "documento", "historico", "contrapartida", "debito",
                 "credito", "saldo", "complemento"});
  for (const Extrato& extrato : extratos) {
    for (const LinhaExtrato& linha : extrato.linhas) {
      const LancamentoLido& l = linha.lancamento;
      std::vector<Celula> celulas = {
          CQXData(l.dados.DataLancamento), l.mes,         int64_t{l.posicao},
          int64_t{linha.conta},            int64_t{l.dados.Documento},
          int64_t{static_cast<uint16_t>(l.dados.CodHis)}, int64_t{linha.contrapartida},
          linha.debito,                    linha.credito, linha.saldo,
          Celula()};
      // The text moved in, not copied out of the list.
      celulas.back() = TextoCp1252(l.complemento);
      tabela.Linha(std::move(celulas));
    }
  }
  return tabela;
}

Tabela TabelaContaExtrato(const Extrato& e, const Periodo& p) {
  Tabela dados(Junta<std::string>({ColunasConta(), {"total", "desde", "de", "ate"}}));
  dados.Linha(Junta<Celula>({CelulasConta(e.conta), {e.conta.total, p.desde, p.de, p.ate}}));
  return dados;
}

std::vector<std::string> ColunasSaldos() {
  return {"saldo_anterior", "debitos", "creditos", "saldo_final"};
}

std::vector<Celula> CelulasSaldos(const Extrato& e) {
  return {e.anterior, e.debitos, e.creditos, e.final};
}

Tabela TabelaContasRazao(std::span<const Extrato> razao) {
  Tabela contas(Junta<std::string>({ColunasConta(), ColunasSaldos()}));
  for (const Extrato& e : razao) {
    contas.Linha(Junta<Celula>({CelulasConta(e.conta), CelulasSaldos(e)}));
  }
  return contas;
}

Tabela TabelaCentros(const Centros& c, bool paraPessoas) {
  Tabela linhas(
      {"centro", "nome_centro", "conta", "classificacao", "nome_conta", "valor", "quantidade"});
  for (const Centro& centro : c.centros) {
    for (const LinhaCentro& linha : centro.contas) {
      linhas.Linha({int64_t{centro.centro.numero}, TextoCp1252(centro.centro.nome),
                    int64_t{linha.conta.numero}, TextoCp1252(linha.conta.classificacao),
                    TextoCp1252(linha.conta.nome), linha.alocado.valor,
                    linha.alocado.quantidade});
    }
    if (paraPessoas) {
      linhas.Linha({Celula(), "Total de " + NomeConta(centro.centro), Celula(), "", "",
                    centro.total.valor, centro.total.quantidade});
    }
  }
  return linhas;
}

Tabela TabelaTotaisCentros(const Centros& c) {
  Tabela porCentro({"centro", "nome", "valor", "quantidade"});
  for (const Centro& centro : c.centros) {
    porCentro.Linha({int64_t{centro.centro.numero}, TextoCp1252(centro.centro.nome),
                     centro.total.valor, centro.total.quantidade});
  }
  return porCentro;
}

Tabela TabelaTotalCentros(const Centros& c) {
  Tabela totais({"valor", "quantidade"});
  totais.Linha({c.total.valor, c.total.quantidade});
  return totais;
}

}  // namespace qx::cli
