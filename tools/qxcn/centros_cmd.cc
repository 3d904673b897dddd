// centros: what the split lines allot to each cost centre.
#include <vector>

#include "comandos.h"
#include "common/total.h"
#include "lancamentos.h"
#include "periodo.h"
#include "reports/centros.h"

namespace qxcn {
namespace {

const std::vector<std::string> kColunas = {
    "centro", "nome_centro", "conta", "classificacao", "nome_conta", "valor", "quantidade"};

void Centros(const Argumentos& a, Servico& servico, Saida& saida) {
  const Datas datas = LeDatas(a);
  const qx::PedidoCentros pedido{
      datas.de, datas.ate, static_cast<uint16_t>(a.Inteiro("filial", 1, UINT16_MAX).value_or(0)),
      static_cast<int32_t>(a.Inteiro("conta-gerencial", 1, INT32_MAX).value_or(0))};
  const qx::Centros c =
      qx::MontaCentros(servico, qx::LePlano(servico, 'C'), qx::LePlano(servico, 'G'), pedido);

  // People read each centre's total after its lines; scripts get them apart.
  Tabela linhas(kColunas);
  Tabela porCentro({"centro", "nome", "valor", "quantidade"});
  for (const qx::Centro& centro : c.centros) {
    for (const qx::LinhaCentro& linha : centro.contas) {
      linhas.Linha({int64_t{centro.centro.numero}, Texto{centro.centro.nome},
                    int64_t{linha.conta.numero}, Texto{linha.conta.classificacao},
                    Texto{linha.conta.nome}, linha.alocado.valor, linha.alocado.quantidade});
    }
    if (saida.ParaPessoas()) {
      linhas.Linha({Celula(), "Total de " + NomeConta(centro.centro), Celula(), "", "",
                    centro.total.valor, centro.total.quantidade});
    }
    porCentro.Linha({int64_t{centro.centro.numero}, Texto{centro.centro.nome}, centro.total.valor,
                     centro.total.quantidade});
  }
  saida.Mostra("centros", "Centros de custo " + TextoPeriodo(pedido.de, pedido.ate, pedido.filial),
               linhas);
  if (!saida.ParaPessoas()) saida.Mostra("totais_centros", "", porCentro);
  Tabela totais({"valor", "quantidade"});
  totais.Linha({c.total.valor, c.total.quantidade});
  saida.Resumo("totais", totais,
               "Total rateado " + TotalParaPessoas(c.total.valor) + ", quantidade " +
                   TotalParaPessoas(c.total.quantidade));
  VerificaEstouro(c.Estourou());
}

}  // namespace

std::vector<Comando> ComandosCentros() {
  return {{"centros", "",
           "o que os rateios gerenciais do período dão a cada centro de custo, por conta contábil",
           Junta<Opcao>({OpcoesDatas(),
                         {{"filial", "N", "só os lançamentos da filial"},
                          {"conta-gerencial", "CONTA",
                           "só o centro (ou os centros de uma conta totalizadora)"}}}),
           ComServico(Centros)}};
}

}  // namespace qxcn
