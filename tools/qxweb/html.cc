#include "html.h"

#include "cabecalhos.h"

namespace qxweb {
namespace {

constexpr char kEstilo[] =
    "body{font-family:system-ui,sans-serif;margin:1.5em auto;max-width:72em;padding:0 1em;"
    "color:#222}"
    "nav.trilha{font-size:.9em;margin-bottom:.5em}nav.trilha a{margin-right:.3em}"
    "h1{font-size:1.5em;margin:.2em 0 .6em}h2{font-size:1.15em;margin:1.4em 0 .4em}"
    "table{border-collapse:collapse;margin:.3em 0;font-size:.92em}"
    "th,td{border-bottom:1px solid #ddd;padding:.25em .6em;text-align:left;vertical-align:top}"
    "th{background:#f3f3f3}td.n{text-align:right;font-variant-numeric:tabular-nums}"
    "td.neg{color:#a00}p.resumo{font-weight:600}p.vazio{color:#777}"
    "a.twin{font-size:.8em;margin-left:.6em}"
    "form.filtro{display:flex;flex-wrap:wrap;gap:.4em 1em;align-items:end;margin:.5em 0}"
    "form.filtro label{display:flex;flex-direction:column;font-size:.8em}"
    "details{width:100%}ul.menu{padding-left:1.2em}"
    ".falha{border-left:4px solid #a00;padding:.3em .8em;background:#fff4f4}"
    "svg text{font-size:11px;fill:#444}"
    ".arvore .linha,.arvore summary{display:grid;grid-template-columns:minmax(16em,1fr) "
    "repeat(var(--colunas),9em);border-bottom:1px solid #ddd;padding:.2em 0;font-size:.92em}"
    ".arvore summary{cursor:pointer;font-weight:600}"
    ".arvore summary span:first-child::before{content:'▸ '}"
    ".arvore details[open]>summary span:first-child::before{content:'▾ '}"
    ".arvore span.n{text-align:right;font-variant-numeric:tabular-nums;padding-right:.6em}"
    ".arvore .cabeca{background:#f3f3f3;font-weight:600}.arvore span.neg{color:#a00}";

std::string Titulo(const Parte& parte, const Endereco& endereco) {
  const Endereco csv = endereco.Com("formato", "csv").Com("tabela", parte.chave);
  const Endereco planilha = endereco.Com("formato", "planilha").Com("tabela", parte.chave);
  const std::string& titulo = parte.titulo.empty() ? parte.chave : parte.titulo;
  return "<h2>" + Escapa(titulo) + Link(csv.Texto(), "CSV", "twin") +
         Link(planilha.Texto(), "Planilha", "twin") + "</h2>\n";
}

std::string TabelaHtml(const Parte& parte, const Documento& documento, const Endereco& endereco) {
  std::string html = Titulo(parte, endereco);
  const Tabela& tabela = parte.tabela;
  if (!parte.texto.empty()) return html + parte.texto + "\n";
  if (tabela.Vazia()) return html + "<p class=\"vazio\">Nenhuma linha.</p>\n";
  html += "<table id=\"" + Escapa(parte.chave) + "\">\n<thead><tr>";
  for (const std::string& coluna : tabela.Colunas()) {
    html += "<th>" + Escapa(Cabecalho(coluna)) + "</th>";
  }
  html += "</tr></thead>\n<tbody>\n";
  for (const std::vector<qx::cli::Celula>& linha : tabela.Linhas()) {
    html += "<tr>";
    for (size_t i = 0; i < linha.size(); ++i) {
      const std::string ligacao = parte.ligacao ? parte.ligacao(linha, i) : "";
      const std::string nome =
          linha[i].tipo() == qx::cli::Celula::Tipo::kNumero && i < tabela.Colunas().size()
              ? documento.NomeDaConta(tabela, tabela.Colunas()[i], linha[i].numero())
              : "";
      html += nome.empty() ? CelulaHtml(linha[i], ligacao)
                           : CelulaHtml(linha[i].ParaPessoas() + " " + nome, ligacao);
    }
    html += "</tr>\n";
  }
  return html + "</tbody></table>\n";
}

}  // namespace

std::string Escapa(std::string_view texto) {
  std::string escapado;
  for (const char c : texto) {
    switch (c) {
      case '&':
        escapado += "&amp;";
        break;
      case '<':
        escapado += "&lt;";
        break;
      case '>':
        escapado += "&gt;";
        break;
      case '"':
        escapado += "&quot;";
        break;
      case '\'':
        escapado += "&#39;";
        break;
      default:
        escapado += c;
    }
  }
  return escapado;
}

std::string CelulaHtml(const qx::cli::Celula& celula, const std::string& ligacao,
                       std::string_view tag) {
  std::string classe;
  if (celula.ADireita()) classe = "n";
  if (celula.tipo() == qx::cli::Celula::Tipo::kValor && celula.numero() < 0) classe += " neg";
  std::string texto = Escapa(celula.ParaPessoas());
  if (!ligacao.empty()) texto = Link(ligacao, celula.ParaPessoas());
  const std::string abre(tag);
  return "<" + abre + (classe.empty() ? "" : " class=\"" + classe + "\"") + ">" + texto + "</" +
         abre + ">";
}

std::string Link(const std::string& endereco, std::string_view texto, std::string_view classe) {
  const std::string atributo = classe.empty() ? "" : " class=\"" + Escapa(classe) + "\"";
  return "<a href=\"" + Escapa(endereco) + "\"" + atributo + ">" + Escapa(texto) + "</a>";
}

std::string PaginaHtml(const Documento& documento, const Endereco& endereco) {
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"pt-BR\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<title>" +
      Escapa(documento.titulo()) + " — qxweb</title>\n<style>" + kEstilo +
      "</style>\n</head>\n<body>\n<nav class=\"trilha\">";
  for (const auto& [nome, destino] : documento.trilha()) html += Link(destino, nome) + " › ";
  html += "</nav>\n<h1>" + Escapa(documento.titulo());
  html += Link(endereco.Com("formato", "json").Texto(), "JSON", "twin");
  html += "</h1>\n";
  for (const Parte& parte : documento.partes()) {
    switch (parte.tipo) {
      case Parte::Tipo::kTabela:
        html += TabelaHtml(parte, documento, endereco);
        break;
      case Parte::Tipo::kResumo:
        html += "<p class=\"resumo\" id=\"" + Escapa(parte.chave) + "\">" + Escapa(parte.texto) +
                "</p>\n";
        break;
      case Parte::Tipo::kHtml:
        html += parte.texto + "\n";
        break;
      case Parte::Tipo::kCampo:
        break;
    }
  }
  return html + "</body>\n</html>\n";
}

}  // namespace qxweb
