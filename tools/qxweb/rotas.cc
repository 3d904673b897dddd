#include <memory>
#include <string>

#include "common/falhas.h"
#include "common/demonstracoes.h"
#include "common/periodo.h"
#include "paginas.h"
#include "values/br_text.h"

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
      {empresa + "/balancete", qx::cli::OpcoesBalancete(), PaginaBalancete},
      {empresa + "/extrato", OpcoesExtrato(), PaginaExtrato},
      {empresa + "/razao", OpcoesRazao(), PaginaRazao},
      {empresa + "/centros", qx::cli::OpcoesCentros(), PaginaCentros},
      {empresa + "/balanco", qx::cli::OpcoesBalanco(), PaginaBalanco},
      {empresa + "/dre", qx::cli::OpcoesDre(), PaginaDre},
  };
  return rotas;
}

std::string EnderecoEmpresa(const std::string& empresa) { return "/empresas/" + CodificaUrl(empresa); }

std::string EnderecoLancamento(const std::string& empresa, CQXMesAno mes, int32_t posicao) {
  return EnderecoEmpresa(empresa) + "/lancamentos/" + mes.Text(10, '-') + "/" +
         std::to_string(posicao);
}

std::string EnderecoExtrato(const std::string& empresa, int32_t conta, const qx::Periodo& p) {
  return Url(EnderecoEmpresa(empresa) + "/extrato",
             {{"conta", std::to_string(conta)},
              {"de", qx::DateText(p.de)},
              {"ate", qx::DateText(p.ate)},
              {"desde", qx::DateText(p.desde)},
              {"filial", p.filial != 0 ? std::to_string(p.filial) : ""}});
}

Ligacao LigacaoAoLancamento(const std::string& empresa, size_t colunaMes) {
  return [empresa, colunaMes](const std::vector<Celula>& linha, size_t coluna) {
    if (coluna != colunaMes + 1 || linha[colunaMes].tipo() != Celula::Tipo::kMes) {
      return std::string();
    }
    return EnderecoLancamento(empresa, CQXMesAno(static_cast<uint32_t>(linha[colunaMes].numero())),
                              static_cast<int32_t>(linha[coluna].numero()));
  };
}

void LimitaMeses(CQXData de, CQXData ate) {
  const int meses = (ate.Year() - de.Year()) * 12 + ate.Month() - de.Month() + 1;
  if (meses > kMaisMeses) {
    throw qx::cli::ErroUso{"de " + qx::DateText(de) + " a " + qx::DateText(ate) + " são " +
                           std::to_string(meses) + " meses de lançamentos; peça até " +
                           std::to_string(kMaisMeses) +
                           " de cada vez (nos relatórios, contados de desde, que pode vir "
                           "mais perto)"};
  }
}

qx::Periodo PeriodoDoPedido(const Pedido& pedido) {
  const qx::Periodo periodo = qx::cli::LePeriodo(pedido.argumentos(), pedido.identidade());
  LimitaMeses(periodo.desde, periodo.ate);
  return periodo;
}

void AvisaEstouro(bool estourou, Documento& documento) {
  if (!estourou) return;
  documento.Html(
      "<p class=\"falha\">Uma soma passa do maior valor que um montante guarda e ficou vazia; "
      "os outros valores estão certos. Restrinja o período ou as contas pedidas.</p>");
}

void TrilhaEmpresa(const Pedido& pedido, Documento& documento) {
  documento.Trilha("Início", "/");
  documento.Trilha("Empresa " + pedido.empresa(), EnderecoEmpresa(pedido.empresa()));
}

void NomeiaContas(Pedido& pedido, Documento& documento, bool gerencial) {
  if (!pedido.ParaPessoas()) return;
  for (const char plano : std::string(gerencial ? "CG" : "C")) {
    documento.Contas(plano,
                     std::make_shared<const qx::PlanoDeContas>(qx::LePlano(pedido.Servico(), plano)));
  }
}

}  // namespace qxweb
