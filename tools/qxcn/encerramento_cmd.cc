// encerra and reabre: the closing of a year's result accounts into equity,
// and its undoing.
#include <vector>

#include "comandos.h"
#include "common/relatorios.h"
#include "common/total.h"
#include "lancamentos.h"
#include "reports/encerra.h"
#include "values/br_text.h"

namespace qxcn {
namespace {

Tabela TabelaLancamentos(const std::vector<LancamentoLido>& lancamentos) {
  Tabela tabela(ColunasLancamento());
  for (const LancamentoLido& l : lancamentos) tabela.Linha(CelulasLancamento(l));
  return tabela;
}

int Ano(const Argumentos& a) {
  return static_cast<int>(a.InteiroObrigatorio("exercicio", 1849, 4716));
}

void Encerra(const Argumentos& a, Servico& servico, Saida& saida) {
  const bool simular = a.Marca("simular");
  const qx::Encerramento e = qx::Encerra(
      servico, {Ano(a), static_cast<int32_t>(a.InteiroObrigatorio("conta-resultado", 1, INT32_MAX)),
                simular});
  const std::string ano = std::to_string(e.exercicio.ano);
  saida.Mostra("lancamentos", simular ? "Lançamentos de encerramento (nada foi gravado):" : "",
               TabelaLancamentos(e.lancamentos));
  Tabela resumo({"exercicio", "data", "conta_resultado", "lancamentos", "resultado", "simulado"});
  resumo.Linha({int64_t{e.exercicio.ano}, e.exercicio.fim, int64_t{e.patrimonio.numero},
                e.lancamentos.size(), e.resultado, simular});
  std::string texto;
  if (e.lancamentos.empty()) {
    texto = "Nenhuma conta de resultado tem saldo no exercício " + ano + ": nada a encerrar.";
  } else {
    texto = std::to_string(e.lancamentos.size()) + " lançamento(s) de " +
            qx::DateText(e.exercicio.fim) + " levam o resultado de " +
            TotalParaPessoas(e.resultado) + " à conta " + NomeConta(e.patrimonio) + ".\n" +
            (simular ? "Nada foi gravado. Para encerrar: qxcn encerra --exercicio " + ano +
                           " --conta-resultado " + std::to_string(e.patrimonio.numero)
                     : "Exercício " + ano + " encerrado. Para desfazer: qxcn reabre --exercicio " +
                           ano);
  }
  saida.Resumo("encerramento", resumo, texto);
  VerificaTotais({&e.resultado});
}

void Reabre(const Argumentos& a, Servico& servico, Saida& saida) {
  const bool simular = a.Marca("simular");
  const qx::Reabertura r = qx::Reabre(servico, Ano(a), simular);
  const std::string ano = std::to_string(r.exercicio.ano);
  saida.Mostra("lancamentos",
               simular ? "Lançamentos de encerramento que seriam excluídos (nada foi excluído):"
                       : "Lançamentos de encerramento excluídos:",
               TabelaLancamentos(r.lancamentos));
  Tabela resumo({"exercicio", "lancamentos", "simulado"});
  resumo.Linha({int64_t{r.exercicio.ano}, r.lancamentos.size(), simular});
  saida.Resumo("reabertura", resumo,
               simular ? "Para reabrir: qxcn reabre --exercicio " + ano
                       : "Exercício " + ano +
                             " reaberto: as contas de resultado voltaram aos "
                             "seus saldos.");
}

}  // namespace

std::vector<Comando> ComandosEncerramento() {
  const Opcao exercicio = {"exercicio", "AAAA", "o ano do exercício"};
  const Opcao simular = {"simular", "", "mostra os lançamentos, sem gravar nem excluir"};
  return {
      {"encerra",
       "",
       "encerra o exercício: leva o saldo de cada conta de resultado à conta de patrimônio "
       "líquido, em lançamentos do último dia do ano (tudo ou nada)",
       {exercicio,
        {"conta-resultado", "CONTA", "a conta de patrimônio líquido que recebe o resultado"},
        simular},
       ComServico(Encerra)},
      {"reabre",
       "",
       "exclui os lançamentos de encerramento do exercício (tudo ou nada)",
       {exercicio, simular},
       ComServico(Reabre)},
  };
}

}  // namespace qxcn
