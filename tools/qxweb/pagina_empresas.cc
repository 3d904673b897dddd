// The start page: the companies of the installation.
#include "paginas.h"

namespace qxweb {

void PaginaEmpresas(Pedido& pedido, Documento& documento) {
  Tabela tabela({"empresa"});
  for (const std::string& empresa : qx::Empresas(pedido.Servico())) {
    tabela.Linha({qx::cli::TextoCp1252(empresa)});
  }
  documento.Titulo("Empresas");
  documento.Mostra("empresas", "Empresas da instalação", std::move(tabela),
                   [](const std::vector<Celula>& linha, size_t) {
                     return EnderecoEmpresa(linha[0].texto());
                   });
}

}  // namespace qxweb
