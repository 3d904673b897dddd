#include "common/periodo.h"

#include "common/falhas.h"
#include "reports/cadastro_empresa.h"

namespace qx::cli {

std::vector<Opcao> OpcoesDatas() {
  return {{"de", "DD/MM/AAAA", "o primeiro dia (1º de janeiro do ano corrente por omissão)"},
          {"ate", "DD/MM/AAAA", "o último dia (31 de dezembro do ano corrente por omissão)"}};
}

std::vector<Opcao> OpcoesPeriodo() {
  return Junta<Opcao>(
      {OpcoesDatas(),
       {{"desde", "DD/MM/AAAA",
         "de onde o saldo anterior soma (o início do exercício da empresa por omissão)"},
        {"filial", "N", "só os lançamentos da filial"}}});
}

Datas LeDatas(const Argumentos& a) {
  const int ano = CQXMesAno::Current().Year();
  Datas datas{a.Data("de").value_or(CQXData::Make(1, 1, ano)),
              a.Data("ate").value_or(CQXData::Make(31, 12, ano))};
  if (datas.ate < datas.de) throw ErroUso{"--ate antes de --de"};
  return datas;
}

Periodo LePeriodo(const Argumentos& a, const Identidade& identidade) {
  const Datas datas = LeDatas(a);
  Periodo periodo{
      {}, datas.de, datas.ate, static_cast<uint16_t>(a.Inteiro("filial", 1, UINT16_MAX).value_or(0))};
  const std::optional<CQXData> desde = a.Data("desde");
  periodo.desde = desde ? *desde
                        : InicioDosLivros(CadastroEmpresa(identidade).InicioExercicio(), datas.de);
  if (datas.de < periodo.desde) throw ErroUso{"--desde depois de --de"};
  return periodo;
}

std::vector<Opcao> OpcoesBalancete() {
  return Junta<Opcao>({OpcoesPeriodo(),
                       {{"nivel", "N", "só as contas até o nível N do plano"},
                        {"por-mes", "", "o movimento de cada mês no lugar de débitos e créditos"},
                        {"zeradas", "", "também as contas sem saldo nem movimento"}}});
}

PedidoBalancete LePedidoBalancete(const Argumentos& a, const Identidade& identidade) {
  PedidoBalancete pedido;
  pedido.periodo = LePeriodo(a, identidade);
  pedido.nivel = static_cast<uint16_t>(a.Inteiro("nivel", 1, UINT16_MAX).value_or(0));
  pedido.porMes = a.Marca("por-mes");
  pedido.zeradas = a.Marca("zeradas");
  return pedido;
}

Opcao OpcaoContas() {
  return {"contas", "A..B", "só as contas de número A a B (A.. ou ..B também)"};
}

std::pair<int32_t, int32_t> LeContas(const Argumentos& a) {
  const std::string texto = a.Valor("contas").value_or("..");
  const size_t pontos = texto.find("..");
  const auto numero = [&](const std::string& parte, int32_t omissao) {
    return parte.empty() ? omissao
                         : static_cast<int32_t>(a.LeInteiro(parte, "--contas", 1, INT32_MAX));
  };
  if (pontos == std::string::npos) {
    const int32_t conta = numero(texto, 0);
    return {conta, conta};
  }
  const std::pair<int32_t, int32_t> contas = {numero(texto.substr(0, pontos), 1),
                                              numero(texto.substr(pontos + 2), INT32_MAX)};
  if (contas.second < contas.first) throw ErroUso{"--contas: a última antes da primeira"};
  return contas;
}

std::vector<Opcao> OpcoesCentros() {
  return Junta<Opcao>({OpcoesDatas(),
                       {{"filial", "N", "só os lançamentos da filial"},
                        {"conta-gerencial", "CONTA",
                         "só o centro (ou os centros de uma conta totalizadora)"}}});
}

PedidoCentros LePedidoCentros(const Argumentos& a) {
  const Datas datas = LeDatas(a);
  return {datas.de, datas.ate,
          static_cast<uint16_t>(a.Inteiro("filial", 1, UINT16_MAX).value_or(0)),
          static_cast<int32_t>(a.Inteiro("conta-gerencial", 1, INT32_MAX).value_or(0))};
}

}  // namespace qx::cli
