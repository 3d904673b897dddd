#include "endereco.h"

namespace qxweb {

std::string CodificaUrl(std::string_view texto) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string codificado;
  for (const char c : texto) {
    const auto b = static_cast<unsigned char>(c);
    if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') ||
        std::string_view("-_.~").find(c) != std::string_view::npos) {
      codificado += c;
    } else {
      codificado += {'%', kHex[b >> 4], kHex[b & 15]};
    }
  }
  return codificado;
}

std::string Url(const std::string& caminho, const Parametros& parametros) {
  std::string url = caminho;
  char separador = '?';
  for (const auto& [nome, valor] : parametros) {
    if (valor.empty()) continue;
    url += separador + CodificaUrl(nome) + "=" + CodificaUrl(valor);
    separador = '&';
  }
  return url;
}

Endereco Endereco::Com(const std::string& nome, const std::string& valor) const {
  Endereco outro{caminho, {}};
  for (const auto& par : parametros) {
    if (par.first != nome) outro.parametros.push_back(par);
  }
  if (!valor.empty()) outro.parametros.emplace_back(nome, valor);
  return outro;
}

std::string Endereco::Texto() const { return Url(caminho, parametros); }

}  // namespace qxweb
