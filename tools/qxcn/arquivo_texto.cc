#include "arquivo_texto.h"

#include <fstream>
#include <iostream>

#include "common/falhas.h"
#include "platform/codepage.h"

namespace qxcn {
namespace {

constexpr std::string_view kMarcaUtf8 = "\xEF\xBB\xBF";

constexpr std::pair<std::string_view, Codificacao> kCodificacoes[] = {
    {"utf8", Codificacao::kUtf8},
    {"latin1", Codificacao::kLatin1},
    {"cp1252", Codificacao::kCp1252}};

}  // namespace

std::string NomesCodificacao() {
  std::string nomes;
  for (const auto& [nome, codificacao] : kCodificacoes) {
    nomes += (nomes.empty() ? "" : " ") + std::string(nome);
  }
  return nomes;
}

std::optional<Codificacao> CodificacaoDeNome(std::string_view nome) {
  for (const auto& [texto, codificacao] : kCodificacoes) {
    if (nome == texto) return codificacao;
  }
  return std::nullopt;
}

std::vector<LinhaTexto> LeLinhasTexto(const std::string& caminho, Codificacao codificacao) {
  std::ifstream arquivo;
  if (caminho != "-") arquivo.open(caminho, std::ios::binary);
  std::istream& entrada = caminho == "-" ? std::cin : arquivo;
  if (!entrada) throw qx::FalhaLocal{"não consigo ler " + caminho};
  std::vector<LinhaTexto> linhas;
  std::string bytes;
  while (std::getline(entrada, bytes)) {
    if (!bytes.empty() && bytes.back() == '\r') bytes.pop_back();
    if (linhas.empty() && bytes.starts_with(kMarcaUtf8)) {
      if (codificacao != Codificacao::kUtf8) {
        throw qx::cli::ErroUso{"--codificacao: " + caminho +
                               " começa com a marca de UTF-8; omita --codificacao"};
      }
      bytes.erase(0, kMarcaUtf8.size());
    }
    LinhaTexto& linha = linhas.emplace_back();
    linha.numero = linhas.size();
    switch (codificacao) {
      case Codificacao::kUtf8:
        linha.malformado = qx::FirstMalformedUtf8(bytes);
        linha.texto = std::move(bytes);
        break;
      case Codificacao::kLatin1:
        linha.texto = qx::Latin1ToUtf8(bytes);
        break;
      case Codificacao::kCp1252:
        linha.texto = qx::Cp1252ToUtf8(bytes);
        break;
    }
    bytes.clear();
  }
  if (entrada.bad()) throw qx::FalhaLocal{"não consigo ler " + caminho + " até o fim"};
  return linhas;
}

}  // namespace qxcn
