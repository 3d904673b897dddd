// The verdict of qxcheck on the company's folder. qxcheck reads every file
// of the folder, read-only and shared with every writer; it runs as a
// program of its own, one at a time and for at most kPrazo, and the page
// shows its JSON report with the keys qxcheck --json gives.
#include <filesystem>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <system_error>

#include "cabecalhos.h"
#include "html.h"
#include "paginas.h"
#include "platform/child_output.h"
#include "platform/process_info.h"
#include "reports/falha.h"

namespace qxweb {
namespace {

constexpr uint32_t kPrazoMs = 120'000;

// qxcheck beside qxweb, installed or in the build's tools folder, else in PATH.
std::string ProgramaQxcheck() {
  const std::filesystem::path pasta = std::filesystem::path(qx::ExecutablePath()).parent_path();
  for (const std::filesystem::path& caminho : {pasta / "qxcheck", pasta / "../qxcheck/qxcheck"}) {
    std::error_code erro;
    if (std::filesystem::is_regular_file(caminho, erro)) return caminho.lexically_normal();
  }
  return "qxcheck";
}

Celula CelulaJson(const nlohmann::ordered_json& valor) {
  if (valor.is_null()) return {};
  if (valor.is_boolean()) return valor.get<bool>();
  if (valor.is_number_integer()) return valor.get<int64_t>();
  if (valor.is_string()) return valor.get<std::string>();
  return valor.dump();
}

Tabela TabelaJson(const nlohmann::ordered_json& linhas) {
  std::vector<std::string> colunas;
  if (!linhas.empty() && linhas[0].is_object()) {
    for (const auto& [chave, valor] : linhas[0].items()) colunas.push_back(chave);
  }
  Tabela tabela(colunas);
  for (const nlohmann::ordered_json& linha : linhas) {
    std::vector<Celula> celulas;
    for (const std::string& coluna : colunas) {
      celulas.push_back(linha.contains(coluna) ? CelulaJson(linha[coluna]) : Celula());
    }
    tabela.Linha(std::move(celulas));
  }
  return tabela;
}

nlohmann::ordered_json Relatorio(const std::string& empresa) {
  static std::mutex emCurso;
  const std::unique_lock trava(emCurso, std::try_to_lock);
  if (!trava.owns_lock()) {
    throw qx::FalhaLocal("uma verificação já está em curso", "espere que acabe e recarregue");
  }
  const std::string programa = ProgramaQxcheck();
  const std::string dica = "rode qxcheck --empresa " + empresa;
  std::string saida;
  if (const int erro = qx::RunForOutput({programa, "--empresa", empresa, "--json"}, kPrazoMs,
                                        &saida)) {
    throw qx::FalhaLocal(
        "não consegui rodar " + programa + ": " + std::generic_category().message(erro), dica);
  }
  nlohmann::ordered_json relatorio = nlohmann::ordered_json::parse(saida, nullptr, false);
  if (relatorio.is_discarded() || !relatorio.is_object()) {
    throw qx::FalhaLocal(saida.size() >= qx::kMaxChildOutput
                             ? "o relatório do qxcheck passa do que a página mostra"
                             : "o qxcheck não deu relatório (a pasta não pôde ser lida, ou "
                               "passou o prazo)",
                         dica);
  }
  return relatorio;
}

}  // namespace

void PaginaVerificacao(Pedido& pedido, Documento& documento) {
  const nlohmann::ordered_json relatorio = Relatorio(pedido.empresa());
  documento.Titulo("Verificação da pasta da empresa " + pedido.empresa());
  TrilhaEmpresa(pedido, documento);
  const bool sa = relatorio.value("sound", false);
  documento.Html(sa ? "<p class=\"resumo\" id=\"veredito\">Nenhum dano na pasta.</p>"
                    : "<p class=\"resumo falha\" id=\"veredito\">A pasta tem " +
                          std::to_string(relatorio.value("damage", 0)) + " dano(s).</p>");
  std::string campos = "<dl>";
  for (const auto& [chave, valor] : relatorio.items()) {
    if (valor.is_array()) {
      documento.Mostra(chave, Cabecalho(chave), TabelaJson(valor));
    } else {
      documento.Campo(chave, CelulaJson(valor));
      const std::string texto =
          valor.is_boolean() ? (valor.get<bool>() ? "sim" : "não") : CelulaJson(valor).ParaPessoas();
      campos += "<dt>" + Escapa(Cabecalho(chave)) + "</dt><dd>" + Escapa(texto) + "</dd>";
    }
  }
  documento.Html(campos + "</dl>");
}

}  // namespace qxweb
