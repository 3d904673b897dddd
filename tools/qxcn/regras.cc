#include "regras.h"

#include <algorithm>

namespace qxcn {

std::vector<Opcao> OpcoesRegras() {
  return {{"sem-validar", "",
           "grava mesmo o que as regras dos lançamentos recusam, e diz o que deixou passar"},
          {"substituir", "",
           "grava como ? os caracteres que a página de código da empresa não tem, e diz quais"}};
}

qx::Liberacoes LeLiberacoes(const Argumentos& argumentos) {
  return {.semValidar = argumentos.Marca("sem-validar"),
          .substituir = argumentos.Marca("substituir")};
}

FalhaRecusa Recusa(const std::string& mensagem, std::vector<std::string> linhas,
                   const std::vector<qx::Apontamento>& recusas, const std::string& empresa) {
  const auto algum = [&](qx::Contorno contorno) {
    return std::any_of(recusas.begin(), recusas.end(),
                       [&](const qx::Apontamento& r) { return r.contorno == contorno; });
  };
  std::string dica = "corrija e repita";
  if (algum(qx::Contorno::kSemValidar)) {
    dica += "; --sem-validar grava mesmo assim e diz o que deixou passar";
  }
  if (algum(qx::Contorno::kSubstituir)) {
    dica += "; --substituir grava como ? os caracteres que a página de código não tem";
  }
  if (algum(qx::Contorno::kConfiguracao)) {
    dica += "; ligue a configuração com qxadmin config define " + empresa + " NOME 1";
  }
  return FalhaRecusa{mensagem, std::move(linhas), dica};
}

}  // namespace qxcn
