#include "seguranca.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <fstream>

#include "platform/owner_access.h"
#include "platform/random_bytes.h"
#include "reports/falha.h"
#include "resumo.h"

namespace qxweb {
namespace {

std::string_view SemBrancos(std::string_view texto) {
  const size_t inicio = texto.find_first_not_of(" \t\r\n");
  if (inicio == std::string_view::npos) return {};
  return texto.substr(inicio, texto.find_last_not_of(" \t\r\n") - inicio + 1);
}

// Four decimal numbers 0-255 separated by dots, the first 127.
bool EhLoopbackIpv4(std::string_view endereco) {
  int partes = 0;
  for (size_t inicio = 0;; ++partes) {
    const size_t ponto = endereco.find('.', inicio);
    const std::string_view parte =
        endereco.substr(inicio, ponto == std::string_view::npos ? ponto : ponto - inicio);
    unsigned valor = 0;
    const auto [fim, erro] = std::from_chars(parte.data(), parte.data() + parte.size(), valor);
    if (parte.empty() || parte.size() > 3 || erro != std::errc() ||
        fim != parte.data() + parte.size() || valor > 255 || (partes == 0 && valor != 127)) {
      return false;
    }
    if (ponto == std::string_view::npos) return partes == 3;
    inicio = ponto + 1;
  }
}

}  // namespace

bool EhLoopback(std::string_view endereco) {
  return endereco == "localhost" || endereco == "::1" || endereco == "[::1]" ||
         EhLoopbackIpv4(endereco);
}

bool HostLocal(std::string_view host) {
  // "[::1]:8040", "127.0.0.1:8040", "localhost": the name without its port.
  std::string_view nome = host;
  if (nome.starts_with("[")) {
    nome = nome.substr(0, nome.find(']') == std::string_view::npos ? 0 : nome.find(']') + 1);
  } else if (const size_t doisPontos = nome.rfind(':'); doisPontos != std::string_view::npos) {
    nome = nome.substr(0, doisPontos);
  }
  return !nome.empty() && EhLoopback(nome);
}

std::string LeSegredo(const std::string& caminho) {
  std::ifstream arquivo(caminho, std::ios::binary);
  std::string linha;
  if (!arquivo || !std::getline(arquivo, linha)) {
    throw qx::FalhaLocal("não consigo ler o segredo de " + caminho,
                         "o arquivo de --token-arquivo traz o segredo na primeira linha");
  }
  if (const auto modo = qx::PermissionBits(caminho); !modo || (*modo & 077) != 0) {
    char texto[16] = "?";
    if (modo) std::snprintf(texto, sizeof texto, "%04o", *modo);
    throw qx::FalhaLocal("o arquivo do segredo " + caminho +
                             " pode ser lido por outros usuários (modo " + texto + ")",
                         "deixe-o só seu: chmod 600 " + caminho);
  }
  const std::string segredo(SemBrancos(linha));
  // It travels in a cookie: printable ASCII without blanks, quotes, commas,
  // semicolons or backslashes.
  const bool legivel = std::all_of(segredo.begin(), segredo.end(), [](char c) {
    return c > ' ' && c < 127 && std::string_view("\";,\\").find(c) == std::string_view::npos;
  });
  if (!legivel) {
    throw qx::FalhaLocal("o segredo de " + caminho +
                             " tem brancos, aspas, vírgulas, ponto e vírgula ou caracteres fora "
                             "do ASCII",
                         "gere um: head -c 24 /dev/urandom | base64 > " + caminho);
  }
  if (segredo.size() < kMenorSegredo) {
    throw qx::FalhaLocal(
        "o segredo de " + caminho + " tem menos de " + std::to_string(kMenorSegredo) +
            " caracteres",
        "gere um: head -c 24 /dev/urandom | base64 > " + caminho + "; chmod 600 " + caminho);
  }
  return segredo;
}

std::string GeraSegredo() {
  uint8_t bytes[16];
  if (!qx::RandomBytes(bytes, sizeof bytes)) {
    throw qx::FalhaLocal("não consigo gerar o segredo: a fonte de números aleatórios falhou",
                         "dê um segredo com --token-arquivo ARQUIVO");
  }
  return Hexadecimal(bytes, sizeof bytes);
}

std::string CookieDoSegredo(std::string_view segredo) { return HmacSha256Hex(segredo, kCookie); }

int Tentativas::Espera() {
  std::lock_guard trava(mutex_);
  const auto resta = livre_ - std::chrono::steady_clock::now();
  if (resta <= std::chrono::steady_clock::duration::zero()) return 0;
  return static_cast<int>(std::chrono::ceil<std::chrono::seconds>(resta).count());
}

void Tentativas::Errou() {
  std::lock_guard trava(mutex_);
  const std::chrono::seconds espera =
      erros_ >= 6 ? kMaiorEspera : std::min(kMaiorEspera, std::chrono::seconds(1 << erros_));
  ++erros_;
  livre_ = std::chrono::steady_clock::now() + espera;
}

void Tentativas::Acertou() {
  std::lock_guard trava(mutex_);
  erros_ = 0;
}

bool MesmoSegredo(std::string_view dado, std::string_view segredo) {
  unsigned diferenca = dado.size() == segredo.size() ? 0 : 1;
  for (size_t i = 0; i < segredo.size(); ++i) {
    const unsigned char c = i < dado.size() ? static_cast<unsigned char>(dado[i]) : 0;
    diferenca |= c ^ static_cast<unsigned char>(segredo[i]);
  }
  return diferenca == 0;
}

std::string ValorCookie(std::string_view cabecalho, std::string_view nome) {
  while (!cabecalho.empty()) {
    const size_t fim = std::min(cabecalho.find(';'), cabecalho.size());
    const std::string_view par = SemBrancos(cabecalho.substr(0, fim));
    const size_t igual = par.find('=');
    if (igual != std::string_view::npos && par.substr(0, igual) == nome) {
      return std::string(par.substr(igual + 1));
    }
    cabecalho.remove_prefix(std::min(fim + 1, cabecalho.size()));
  }
  return "";
}

std::string SegredoDoPedido(std::string_view cookie, std::string_view autorizacao) {
  std::string segredo = ValorCookie(cookie, kCookie);
  constexpr std::string_view kPortador = "Bearer ";
  if (segredo.empty() && autorizacao.starts_with(kPortador)) {
    segredo = SemBrancos(autorizacao.substr(kPortador.size()));
  }
  return segredo;
}

}  // namespace qxweb
