#include "servico.h"

#include "platform/environment.h"

namespace qxcn {

std::vector<qx::cli::Opcao> OpcoesIdentidade() {
  return {
      {"empresa", "CODIGO", "a empresa (senão QX_EMPRESA, a de qxcn empresa usar, ou a primeira)"},
      {"usuario", "N", "o usuário do serviço (1 por omissão); em historico, o das alterações"},
      {"sessao", "N", "a sessão do serviço (4096 por omissão); em historico, a das alterações"}};
}

Identidade LeIdentidade(const qx::cli::Argumentos& argumentos) {
  Identidade identidade;
  const std::pair<std::string, const char*> fontes[] = {
      {argumentos.Valor("empresa").value_or(""), "--empresa"},
      {qx::GetEnvironmentText("QX_EMPRESA"), "QX_EMPRESA"},
      {EmpresaDoUsuario(), "qxcn empresa usar"}};
  for (const auto& [empresa, origem] : fontes) {
    if (empresa.empty()) continue;
    identidade.empresa = empresa;
    identidade.origem = origem;
    break;
  }
  if (const auto usuario = argumentos.Inteiro("usuario", 1, UINT16_MAX)) {
    identidade.usuario = static_cast<uint32_t>(*usuario);
  }
  if (const auto sessao = argumentos.Inteiro("sessao", 4096, UINT32_MAX)) {
    identidade.sessao = static_cast<uint32_t>(*sessao);
  }
  return identidade;
}

}  // namespace qxcn
