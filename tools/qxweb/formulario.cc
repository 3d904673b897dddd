#include "formulario.h"

#include <algorithm>

#include "html.h"

namespace qxweb {
namespace {

std::string Valor(const Endereco& endereco, const std::string& nome) {
  std::string valor;
  for (const auto& [chave, texto] : endereco.parametros) {
    if (chave == nome) valor = texto;
  }
  return valor;
}

std::string Campo(const Endereco& endereco, const qx::cli::Opcao& opcao) {
  const std::string valor = Valor(endereco, opcao.nome);
  const std::string nome = Escapa(opcao.nome);
  if (opcao.valor.empty()) {
    return "<label><span>" + Escapa(opcao.ajuda) + "</span><input type=\"checkbox\" name=\"" +
           nome + "\" value=\"1\"" + (valor.empty() ? "" : " checked") + "></label>";
  }
  return "<label><span>" + Escapa(opcao.ajuda) + "</span><input name=\"" + nome +
         "\" placeholder=\"" + Escapa(opcao.valor) + "\" value=\"" + Escapa(valor) + "\"></label>";
}

}  // namespace

std::string Formulario(const Endereco& endereco, const std::vector<qx::cli::Opcao>& opcoes,
                       const std::vector<std::string>& principais,
                       const std::vector<std::string>& ocultos) {
  const auto principal = [&](const qx::cli::Opcao& opcao) {
    return std::find(principais.begin(), principais.end(), opcao.nome) != principais.end();
  };
  std::string html = "<form class=\"filtro\" method=\"get\" action=\"" +
                     Escapa(endereco.caminho) + "\">\n";
  for (const std::string& nome : ocultos) {
    html += "<input type=\"hidden\" name=\"" + Escapa(nome) + "\" value=\"" +
            Escapa(Valor(endereco, nome)) + "\">\n";
  }
  for (const std::string& nome : principais) {
    for (const qx::cli::Opcao& opcao : opcoes) {
      if (opcao.nome == nome) html += Campo(endereco, opcao) + "\n";
    }
  }
  html += "<button>Filtrar</button>\n<details><summary>mais filtros</summary>\n";
  for (const qx::cli::Opcao& opcao : opcoes) {
    if (!principal(opcao)) html += Campo(endereco, opcao) + "\n";
  }
  return html + "</details>\n</form>";
}

}  // namespace qxweb
