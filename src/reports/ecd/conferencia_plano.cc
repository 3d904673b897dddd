// The chart (I050), the accounts' statement lines (I052), and the codes the
// other registers take from the chart, the cost centres and the histories.
#include <algorithm>

#include "reports/ecd/conferencia.h"
#include "reports/ecd/formato.h"

namespace qx::ecd {
namespace {

constexpr const char* kPlano = "no plano de contas (qxadmin conta inclui/lista)";

std::string Texto(std::string_view latin1) { return "'" + Latin1ParaUtf8(latin1) + "'"; }

}  // namespace

void Conferencia::ContaPlano(const Campos& c) {
  Conta conta{std::string(c[5]),
              std::string(c[6]),
              static_cast<int>(LeNumero(c[2]).value_or(0)),
              c[3] == "A",
              static_cast<int>(std::min<uint64_t>(LeNumero(c[4]).value_or(0), 99)),
              linha_};
  if (LeData(c[1]) > fim_) {
    Relata(
        "PLANO_DATA",
        "conta " + Texto(c[5]) + " alterada em " + std::string(c[1]) + ", depois do fim do arquivo",
        "");
  }
  if (!indiceContas_.emplace(conta.codigo, contas_.size()).second) {
    Relata("PLANO_DUPLICADA", "conta " + Texto(c[5]) + " duas vezes no plano", "");
    return;
  }
  contas_.push_back(std::move(conta));
}

void Conferencia::AglutinacaoConta(const Campos& c) {
  if (contas_.empty() || !contas_.back().analitica || contas_.back().natureza > 4) {
    Relata("PLANO_AGLUTINACAO",
           "código de aglutinação " + Texto(c[2]) +
               " de uma conta que não é analítica de "
               "ativo, passivo, patrimônio líquido ou resultado",
           "");
    return;
  }
  aglutinacoes_.emplace_back(contas_.back().codigo, std::string(c[2]));
}

void Conferencia::FimPlano() {
  planoConferido_ = true;
  for (const Conta& conta : contas_) {
    const std::string nome = "conta " + Texto(conta.codigo);
    const Conta* pai = conta.superior.empty() ? nullptr : AchaConta(conta.superior);
    if (conta.nivel == 1 ? !conta.superior.empty() : pai == nullptr) {
      RelataEm(conta.linha, "I050", "PLANO_SUPERIOR",
               nome + " de nível " + std::to_string(conta.nivel) + " com a conta superior " +
                   Texto(conta.superior) +
                   (pai == nullptr && conta.nivel > 1 ? ", que não está no plano" : ""),
               std::string("dê-lhe a conta superior certa ") + kPlano);
    } else if (pai != nullptr && (pai->analitica || pai->nivel + 1 != conta.nivel)) {
      RelataEm(conta.linha, "I050", "PLANO_SUPERIOR",
               nome + " de nível " + std::to_string(conta.nivel) + " sob " + Texto(conta.superior) +
                   (pai->analitica ? ", que é analítica" : "") + " de nível " +
                   std::to_string(pai->nivel),
               std::string("a conta superior é sintética e está um nível acima, ") + kPlano);
    } else if (pai != nullptr && pai->natureza != conta.natureza &&
               !(pai->natureza == 2 && conta.natureza == 3)) {
      RelataEm(conta.linha, "I050", "PLANO_NATUREZA",
               nome + " de natureza " + std::to_string(conta.natureza) + " sob " +
                   Texto(conta.superior) + " de natureza " + std::to_string(pai->natureza),
               "dê à conta a natureza da sua conta superior (o patrimônio líquido pode "
               "ficar sob o passivo)");
    }
    if (conta.analitica && conta.natureza >= 1 && conta.natureza <= 3 && conta.nivel < 4) {
      RelataEm(
          conta.linha, "I050", "PLANO_NIVEL_ANALITICA",
          nome + ", analítica de ativo, passivo ou patrimônio líquido, no nível " +
              std::to_string(conta.nivel) + "; o leiaute pede nível 4 ou mais",
          std::string("abra contas analíticas no nível 4 abaixo dela, ou torne-a sintética, ") +
              kPlano);
    }
  }
}

void Conferencia::ConfereConta(std::string_view codigo, std::string_view regra) {
  const Conta* conta = AchaConta(codigo);
  if (conta == nullptr || !conta->analitica) {
    Relata(std::string(regra),
           "conta " + Texto(codigo) + (conta == nullptr ? " fora do plano" : " sintética"),
           std::string("lance só em contas analíticas ") + kPlano);
  }
}

void Conferencia::ConfereCentro(std::string_view centro) {
  if (!centro.empty() && centros_.count(std::string(centro)) == 0) {
    Relata("CENTRO_CUSTOS", "centro de custos " + Texto(centro) + " fora do I100",
           "inclua-o no plano gerencial (qxadmin conta inclui EMPRESA G ...)");
  }
}

}  // namespace qx::ecd
