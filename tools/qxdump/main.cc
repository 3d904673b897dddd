// qxdump: prints a record file of a company folder as a table, JSON or CSV.
#include <charconv>
#include <iostream>
#include <optional>
#include <string_view>

#include "common/argumentos.h"
#include "common/falhas.h"
#include "common/programa.h"
#include "common/saida.h"
#include "dump.h"

namespace {

constexpr char kNotes[] =
    "Mostra um arquivo de registros da pasta de uma empresa como tabela, ou como um\n"
    "objeto JSON (textos em UTF-8), ou os seus registros em CSV. O leiaute vem do\n"
    "nome do arquivo, em maiúsculas ou minúsculas:\n"
    "  CNLCmmaa.DAT  lançamentos, as datas refeitas do dia e do mês do arquivo\n"
    "  CNLGmmaa.DAT  linhas de rateio gerencial e as suas cadeias\n"
    "  CNLQmmaa.DAT  quantidades gerenciais\n"
    "  CNLMmmaa.DAT  valores em moeda estrangeira\n"
    "  CNLHmmaa.DAT  textos de complemento por posição (separados pelos lançamentos do CNLC)\n"
    "  QXCTLARQ.DAT  nomes dos arquivos da criação controlada\n"
    "  CNDIFDC.DAT   diferenças de débito e crédito\n"
    "  CNFORIMP.DAT  formatos de importação (também CNFORIMP.TMP)\n"
    "  CNNTEXPL.DAT  índice das notas explicativas\n"
    "  CNNTEXCP.DAT  textos das notas explicativas por posição\n"
    "\n"
    "O intervalo escolhe posições de registro (posições de byte no CNLH e no\n"
    "CNNTEXCP); sem ele, saem todos os registros de dados. O arquivo é aberto só para\n"
    "leitura e compartilhado com quem grava: ler uma pasta em uso é seguro.\n"
    "\n"
    "Saída: 0 mostrado; 1 o arquivo não abre, ou está danificado e saiu até onde se\n"
    "lê (veja as notas); 2 erro de uso ou um nome de arquivo sem leiaute conhecido.\n";

std::optional<uint64_t> ParseNumber(std::string_view text) {
  uint64_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return {};
  return value;
}

// "N", "N-M" or "N-".
std::optional<qx::dump::Range> ParseRange(std::string_view text) {
  const size_t dash = text.find('-');
  const auto first = ParseNumber(text.substr(0, dash));
  if (!first) return {};
  if (dash == std::string_view::npos) return qx::dump::Range{*first, *first};
  if (dash + 1 == text.size()) return qx::dump::Range{*first, UINT64_MAX};
  const auto last = ParseNumber(text.substr(dash + 1));
  if (!last || *last < *first) return {};
  return qx::dump::Range{*first, *last};
}

void Dump(const qx::cli::Argumentos& args, qx::cli::Saida& saida) {
  qx::dump::Options options;
  using qx::cli::Formato;
  using qx::dump::Form;
  options.form = saida.formato() == Formato::kJson       ? Form::kJson
                 : saida.formato() == Formato::kCsv      ? Form::kCsv
                 : saida.formato() == Formato::kPlanilha ? Form::kPlanilha
                                                         : Form::kTable;
  const std::vector<std::string>& words = args.Posicionais();
  if (words.size() > 1) {
    options.range = ParseRange(words[1]);
    if (!options.range)
      throw qx::cli::ErroUso{"intervalo inválido: " + words[1] +
                             " (use PRIMEIRO, PRIMEIRO-ULTIMO ou PRIMEIRO-)"};
  }
  qx::dump::DumpFile(words[0], options, std::cout);
}

}  // namespace

int main(int argc, char** argv) {
  const qx::cli::Programa qxdump = {
      .nome = "qxdump",
      .resumo = "mostra um arquivo de registros da pasta de uma empresa",
      .notas = kNotes,
      .globais = qx::cli::OpcoesSaida(),
      .comandos =
          {{"", "ARQUIVO [PRIMEIRO[-[ULTIMO]]]", "mostra um arquivo de registros", {}, Dump}},
  };
  return qx::cli::Executa(qxdump, argc, argv);
}
