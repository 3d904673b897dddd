#include "periodo.h"

#include "reports/cadastro_empresa.h"

namespace qxcn {

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

qx::Periodo LePeriodo(const Argumentos& a, const Servico& servico) {
  const Datas datas = LeDatas(a);
  qx::Periodo periodo{{},
                      datas.de,
                      datas.ate,
                      static_cast<uint16_t>(a.Inteiro("filial", 1, UINT16_MAX).value_or(0))};
  const std::optional<CQXData> desde = a.Data("desde");
  periodo.desde = desde
                      ? *desde
                      : qx::InicioDosLivros(
                            qx::CadastroEmpresa(servico.identidade()).InicioExercicio(), datas.de);
  if (datas.de < periodo.desde) throw ErroUso{"--desde depois de --de"};
  return periodo;
}

}  // namespace qxcn
