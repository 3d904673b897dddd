// mes and diferencas: a month's counts and listing, the debit/credit
// differences.
#include <vector>

#include "comandos.h"
#include "common/total.h"
#include "contract/profiler_identity.h"
#include "lancamentos.h"
#include "reports/leitura_mes.h"
#include "values/br_text.h"

namespace qxcn {
namespace {

void Mes(const Argumentos& a, Servico& servico, Saida& saida) {
  const CQXMesAno mes = a.MesAnoObrigatorio("mes");
  const auto mesAno = static_cast<uint16_t>(mes.Value());
  int32_t lancamentos = 0, excluidos = 0, gerenciais = 0, importados = 0;
  Verifica(
      servico->PegaQuantidadeRegistros(mesAno, &lancamentos, &excluidos, &gerenciais, &importados),
      "PegaQuantidadeRegistros");
  Tabela contagem({"mes", "lancamentos", "excluidos", "gerenciais", "importados"});
  contagem.Linha(
      {mes, int64_t{lancamentos}, int64_t{excluidos}, int64_t{gerenciais}, int64_t{importados}});
  saida.Mostra("contagem", "", contagem);

  Tabela tabela({"pos", "data", "documento", "debito", "credito", "valor", "filial", "historico",
                 "excluido", "origem"});
  // Page by page, so that a month of any size is listed; entries of branches
  // that are not active for the user are left out.
  qx::PercorreLancamentosDoMes(servico, mes, false, [&](const auto& pagina) {
    for (const qx::LancamentoDoMes& l : pagina) {
      const RegDados& r = l.dados;
      tabela.Linha({int64_t{l.posicao}, CQXData(r.DataLancamento), int64_t{r.Documento},
                    int64_t{r.Debito}, int64_t{r.Credito}, r.Valor,
                    int64_t{static_cast<uint16_t>(r.Filial)},
                    int64_t{static_cast<uint16_t>(r.CodHis)}, l.Excluido(),
                    Origem(r.wChaveOrigem.lChaveModulo)});
    }
  });
  saida.Mostra("lancamentos", "\nLançamentos de " + qx::MesAnoText(mes) + ":", tabela);
}

void Diferencas(const Argumentos& a, Servico& servico, Saida& saida) {
  qx::Total total;
  const Tabela tabela =
      TabelaDiferencas(qx::LeDiferencas(servico), a.Data("de"), a.Data("ate"), total);
  saida.Mostra("diferencas", "", tabela);
  if (tabela.Vazia()) saida.Aviso("Nenhuma diferença entre débitos e créditos.");
  saida.Resumo("total", TabelaTotal(total), "Total " + TotalParaPessoas(total));
  VerificaTotais({&total});
}

}  // namespace

std::vector<Comando> ComandosMes() {
  return {
      {"mes",
       "",
       "as contagens e a lista dos lançamentos de um mês",
       {OpcaoMes("o mês")},
       ComServico(Mes)},
      {"diferencas",
       "",
       "as diferenças entre débitos e créditos por data, filial e usuário, com o total",
       {{"de", "DD/MM/AAAA", "só as das datas a partir desta"},
        {"ate", "DD/MM/AAAA", "só as das datas até esta"}},
       ComServico(Diferencas)},
  };
}

}  // namespace qxcn
