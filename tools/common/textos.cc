#include "common/textos.h"

namespace qx::cli {
namespace {

constexpr Textos kPortugues = {
    "uso",
    "subcomandos",
    "opções",
    "opções de todos os subcomandos",
    "mostra esta ajuda (também: help [SUBCOMANDO])",
    "mostra a versão",
    "escreve a completação do bash: source <(%s --completion)",
    "a saída em JSON (datas ISO, valores exatos em texto \"1234.56\")",
    "a saída em CSV (RFC 4180, datas ISO, valores 1234.56)",
    "a saída em CSV para planilha (Excel, LibreOffice): ';' entre campos, datas 15/03/2026, "
    "valores 1234,56, UTF-8 com BOM",
    "as opções de um subcomando: %s help SUBCOMANDO",
    "opção desconhecida: %s",
    "falta o valor de %s",
    "argumento a mais: %s",
    "falta %s",
    "falta --%s",
    "subcomando desconhecido: %s",
    "diga qual: %s",
    "--json, --csv ou --planilha: só um deles",
    "%s falhou",
    "o que fazer",
    "%s: número inválido: %s",
    "%s: valor inválido: %s (use 1.234,56)",
    "%s: valor ambíguo: %s é %s com ponto decimal ou %s com ponto de milhar (escreva um dos dois)",
    "%s: data inválida: %s (use 15/03/2026 ou 2026-03-15)",
    "%s: mês inválido: %s (use 03/2026 ou 2026-03)",
};

}  // namespace

std::string Formata(std::string_view modelo, std::initializer_list<std::string_view> textos) {
  std::string saida;
  auto texto = textos.begin();
  for (size_t i = 0; i < modelo.size(); ++i) {
    if (modelo.substr(i, 2) == "%s" && texto != textos.end()) {
      saida += *texto++;
      ++i;
    } else {
      saida += modelo[i];
    }
  }
  return saida;
}

const Textos& TextosDe() { return kPortugues; }

}  // namespace qx::cli
