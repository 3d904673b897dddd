#include <memory>

#include "common/periodo.h"
#include "paginas.h"

namespace qxweb {

qx::SessaoLancamento& Pedido::Servico() {
  if (!servico_) servico_ = std::make_unique<qx::SessaoLancamento>(identidade_);
  return *servico_;
}

const std::vector<Rota>& Rotas() {
  // A company's code, as companies are named.
  const std::string empresa = "/empresas/([A-Za-z0-9_-]{1,24})";
  static const std::vector<Rota> rotas = {
      {"/", {}, PaginaEmpresas},
      {empresa, {{"ano", "AAAA", "o ano"}}, PaginaEmpresa},
      {empresa + "/lancamentos", OpcoesLancamentos(), PaginaLancamentos},
      {empresa + "/lancamentos/([0-9]{4}-[0-9]{2})/([0-9]{1,8})", {}, PaginaLancamento},
      {empresa + "/diferencas", qx::cli::OpcoesDatas(), PaginaDiferencas},
      {empresa + "/verificacao", {}, PaginaVerificacao},
      {empresa + "/historico", OpcoesHistorico(), PaginaHistorico},
  };
  return rotas;
}

std::string EnderecoEmpresa(const std::string& empresa) { return "/empresas/" + CodificaUrl(empresa); }

std::string EnderecoLancamento(const std::string& empresa, CQXMesAno mes, int32_t posicao) {
  return EnderecoEmpresa(empresa) + "/lancamentos/" + mes.Text(10, '-') + "/" +
         std::to_string(posicao);
}

void TrilhaEmpresa(const Pedido& pedido, Documento& documento) {
  documento.Trilha("Início", "/");
  documento.Trilha("Empresa " + pedido.empresa(), EnderecoEmpresa(pedido.empresa()));
}

}  // namespace qxweb
