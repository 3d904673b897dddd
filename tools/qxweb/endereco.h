#pragma once
// The address of a page: its path and its query parameters, in order, and
// the addresses of its twins and of other pages, percent-encoded.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qxweb {

using Parametros = std::vector<std::pair<std::string, std::string>>;

struct Endereco {
  std::string caminho;
  Parametros parametros;

  // The same address with `nome` set to `valor`, or without it for "".
  Endereco Com(const std::string& nome, const std::string& valor) const;
  // "/caminho?nome=valor&...", encoded.
  std::string Texto() const;
};

// A query value or a path segment, percent-encoded.
std::string CodificaUrl(std::string_view texto);

// "/caminho?..." with those parameters (empty values left out).
std::string Url(const std::string& caminho, const Parametros& parametros = {});

}  // namespace qxweb
