#pragma once
// The pages of qxweb, one table entry each: the path that finds it, the
// query parameters it reads (named and read as qxcn's options are) and the
// function that fills its document through the entry service and the
// reports layer.

#include <memory>
#include <string>
#include <vector>

#include "common/argumentos.h"
#include "common/programa.h"
#include "documento.h"
#include "endereco.h"
#include "reports/periodo.h"
#include "reports/sessao.h"

namespace qxweb {

using qx::cli::Argumentos;
using qx::cli::Opcao;

// One request as a page sees it.
class Pedido {
 public:
  Pedido(Endereco endereco, std::vector<std::string> partes, Argumentos argumentos,
         qx::Identidade identidade, bool paraPessoas)
      : endereco_(std::move(endereco)),
        partes_(std::move(partes)),
        argumentos_(std::move(argumentos)),
        identidade_(std::move(identidade)),
        paraPessoas_(paraPessoas) {}

  const Endereco& endereco() const { return endereco_; }
  // The path's groups, from 1; the first of a company's pages is its code.
  const std::string& Parte(size_t i) const { return partes_.at(i); }
  const Argumentos& argumentos() const { return argumentos_; }
  const std::string& empresa() const { return identidade_.empresa; }
  const qx::Identidade& identidade() const { return identidade_; }
  // The page goes out as HTML, not as its JSON or CSV twin.
  bool ParaPessoas() const { return paraPessoas_; }
  // The entry service initialised for the page's company, at its first use.
  qx::SessaoLancamento& Servico();

 private:
  Endereco endereco_;
  std::vector<std::string> partes_;
  Argumentos argumentos_;
  qx::Identidade identidade_;
  bool paraPessoas_;
  std::unique_ptr<qx::SessaoLancamento> servico_;
};

struct Rota {
  std::string padrao;  // the path, a regular expression whose groups are the parts
  std::vector<Opcao> opcoes;
  void (*monta)(Pedido& pedido, Documento& documento);
};

const std::vector<Rota>& Rotas();

// The pages.
void PaginaEmpresas(Pedido& pedido, Documento& documento);
void PaginaEmpresa(Pedido& pedido, Documento& documento);
void PaginaLancamentos(Pedido& pedido, Documento& documento);
void PaginaLancamento(Pedido& pedido, Documento& documento);
void PaginaDiferencas(Pedido& pedido, Documento& documento);
void PaginaVerificacao(Pedido& pedido, Documento& documento);
void PaginaHistorico(Pedido& pedido, Documento& documento);
void PaginaBalancete(Pedido& pedido, Documento& documento);
void PaginaExtrato(Pedido& pedido, Documento& documento);
void PaginaRazao(Pedido& pedido, Documento& documento);
void PaginaCentros(Pedido& pedido, Documento& documento);
void PaginaBalanco(Pedido& pedido, Documento& documento);
void PaginaDre(Pedido& pedido, Documento& documento);

// The query parameters of PaginaLancamentos: the month or the dates, the
// page, and the filters of qxcn busca.
std::vector<Opcao> OpcoesLancamentos();

// The query parameters of PaginaHistorico: the filters of qxcn historico.
std::vector<Opcao> OpcoesHistorico();
// The query parameters of the statement and the ledger: those of their qxcn
// subcommands, and the page of their lines.
std::vector<Opcao> OpcoesExtrato();
std::vector<Opcao> OpcoesRazao();
// The period of a report, within kMaisMeses months from where its opening
// balances start.
qx::Periodo PeriodoDoPedido(const Pedido& pedido);

// What the pages share.
std::string EnderecoExtrato(const std::string& empresa, int32_t conta, const qx::Periodo& periodo);
std::string EnderecoEmpresa(const std::string& empresa);
std::string EnderecoLancamento(const std::string& empresa, CQXMesAno mes, int32_t posicao);
// Links the "pos" cell of a row to its entry's page; the month is in the
// column `colunaMes`, the position in the next.
Ligacao LigacaoAoLancamento(const std::string& empresa, size_t colunaMes);
// When a sum overflowed, says so.
void AvisaEstouro(bool estourou, Documento& documento);
// Início › Empresa E, above the title.
void TrilhaEmpresa(const Pedido& pedido, Documento& documento);
// People read the accounts' names beside their numbers: the company's
// accounting chart, and its managerial one when asked, for the page's HTML.
void NomeiaContas(Pedido& pedido, Documento& documento, bool gerencial = false);

// The most months of entries a request may read: a search from its first
// date to its last, a report from where its opening balances start.
inline constexpr int kMaisMeses = 24;
// Throws ErroUso when from `de` to `ate` there are more than kMaisMeses months.
void LimitaMeses(CQXData de, CQXData ate);

}  // namespace qxweb
