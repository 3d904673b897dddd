#include "server/command_line.h"

#include <cctype>
#include <initializer_list>

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

bool UmaDe(std::string_view palavra, std::initializer_list<std::string_view> nomes) {
  for (const std::string_view nome : nomes) {
    if (IguaisSemCaixa(palavra, nome)) return true;
  }
  return false;
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

PedidoLinhaComando VerificaLinhaComando(std::string_view linha, std::string* desconhecida) {
  if (InterpretaLinhaComando(linha) != AcaoLinhaComando::kServidor) {
    return PedidoLinhaComando::kServidor;
  }
  PedidoLinhaComando pedido = PedidoLinhaComando::kServidor;
  for (size_t inicio = linha.find_first_not_of(" \t"); inicio != std::string_view::npos;
       inicio = linha.find_first_not_of(" \t", inicio)) {
    const std::string_view palavra = Palavra(linha.substr(inicio));
    inicio += palavra.size();
    if (palavra.empty() || (palavra[0] != '-' && palavra[0] != '/')) continue;
    const std::string_view nome = palavra.substr(palavra.starts_with("--") ? 2 : 1);
    if (UmaDe(nome, {"h", "help", "?"})) return PedidoLinhaComando::kUso;
    if (UmaDe(nome, {"version"})) {
      pedido = PedidoLinhaComando::kVersao;
    } else if (!UmaDe(nome, {"Embedding", "Automation"}) &&
               pedido == PedidoLinhaComando::kServidor) {
      pedido = PedidoLinhaComando::kDesconhecida;
      *desconhecida = std::string(palavra);
    }
  }
  return pedido;
}

}  // namespace qx
