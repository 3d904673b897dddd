// mes and diferencas: a month's counts and listing, the debit/credit
// differences.
#include <vector>

#include "comandos.h"
#include "common/total.h"
#include "diagnostics/profiler_identity.h"
#include "lancamentos.h"
#include "values/br_text.h"

namespace qxcn {
namespace {

constexpr HRESULT kMaisRegistrosQueEspaco = static_cast<HRESULT>(0x000405F1u);

// The month's records, growing the buffer until the listing fits.
std::vector<REG_DADOS_LANCAMENTOS> ListaMes(Servico& servico, uint16_t mes, int32_t previstos) {
  int quantidade = std::max(previstos, 16);
  for (;;) {
    std::vector<REG_DADOS_LANCAMENTOS> lista(static_cast<size_t>(quantidade));
    const HRESULT hr = servico->LeLancamentosMes(mes, quantidade, lista.data());
    if (hr != kMaisRegistrosQueEspaco) {
      Verifica(hr, "LeLancamentosMes");
      return lista;
    }
    quantidade *= 2;
  }
}

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
  const std::vector<REG_DADOS_LANCAMENTOS> lista =
      ListaMes(servico, mesAno, lancamentos + excluidos);
  for (size_t i = 0; i < lista.size(); ++i) {
    const REG_DADOS_LANCAMENTOS& r = lista[i];
    // An element left zero is a position past the end or of an inactive branch.
    if (r.DataLancamento == 0 && r.Filial == 0) continue;
    tabela.Linha({int64_t(i + 1), CQXData(r.DataLancamento), int64_t{r.Documento},
                  int64_t{r.Debito}, int64_t{r.Credito}, r.Valor,
                  int64_t{static_cast<uint16_t>(r.Filial)},
                  int64_t{static_cast<uint16_t>(r.CodHis)}, r.bExcluido != 0,
                  Origem(r.wChaveOrigem.lChaveModulo)});
  }
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
