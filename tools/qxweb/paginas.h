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

// The query parameters of PaginaLancamentos: the month or the dates, the
// page, and the filters of qxcn busca.
std::vector<Opcao> OpcoesLancamentos();

// The query parameters of PaginaHistorico: the filters of qxcn historico.
std::vector<Opcao> OpcoesHistorico();

// What the pages share.
std::string EnderecoEmpresa(const std::string& empresa);
std::string EnderecoLancamento(const std::string& empresa, CQXMesAno mes, int32_t posicao);
// Links the "pos" cell of a history's row to its entry's page.
Ligacao LigacaoAoLancamento(const std::string& empresa);
// Início › Empresa E, above the title.
void TrilhaEmpresa(const Pedido& pedido, Documento& documento);

// The largest page of entries a request may ask for, and the default one.
inline constexpr int64_t kMaiorPagina = 500;
inline constexpr int64_t kPaginaPadrao = 100;
// The most months a request may read.
inline constexpr int kMaisMeses = 12;

}  // namespace qxweb
