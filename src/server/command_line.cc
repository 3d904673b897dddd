#include "server/command_line.h"

#include <cctype>

namespace qx {
namespace {

struct Chave {
  std::string_view nome;
  AcaoLinhaComando acao;
};

constexpr Chave kChaves[] = {
    {"UnregServer", AcaoLinhaComando::kDesregistra},
    {"RegServer", AcaoLinhaComando::kRegistra},
    {"UnregServerPerUser", AcaoLinhaComando::kDesregistraUsuario},
    {"RegServerPerUser", AcaoLinhaComando::kRegistraUsuario},
};

// The word that starts the text: up to a blank, a tab or the end.
std::string_view Palavra(std::string_view texto) {
  return texto.substr(0, texto.find_first_of(" \t"));
}

bool IguaisSemCaixa(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

AcaoLinhaComando InterpretaLinhaComando(std::string_view linha) {
  for (size_t inicio = linha.find_first_of("-/"); inicio != std::string_view::npos;
       inicio = linha.find_first_of("-/", inicio + 1)) {
    const std::string_view palavra = Palavra(linha.substr(inicio + 1));
    for (const Chave& chave : kChaves) {
      if (IguaisSemCaixa(palavra, chave.nome)) return chave.acao;
    }
  }
  return AcaoLinhaComando::kServidor;
}

}  // namespace qx
