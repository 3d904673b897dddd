#include "frente.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <chrono>
#include <thread>
#include <vector>

#include "reports/falha.h"

namespace qxweb {
namespace {

// How long a worker waits for the peer to take or send the next bytes.
constexpr int kEsperaMs = 5000;

bool MesmoNome(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// A connection handed over by the gate, as cpp-httplib reads and writes it.
class Fluxo final : public httplib::Stream {
 public:
  explicit Fluxo(qx::GateConnection conexao) : conexao_(std::move(conexao)) {}
  bool is_readable() const override { return true; }  // read() waits, up to kEsperaMs
  bool is_writable() const override { return true; }
  ssize_t read(char* destino, size_t tamanho) override {
    return conexao_.Read(destino, tamanho, kEsperaMs);
  }
  ssize_t write(const char* bytes, size_t tamanho) override {
    return conexao_.Write(bytes, tamanho, kEsperaMs) ? static_cast<ssize_t>(tamanho) : -1;
  }
  void get_remote_ip_and_port(std::string& ip, int& porta) const override {
    conexao_.Peer(&ip, &porta);
  }
  void get_local_ip_and_port(std::string& ip, int& porta) const override {
    conexao_.Local(&ip, &porta);
  }
  socket_t socket() const override { return conexao_.fd(); }

 private:
  qx::GateConnection conexao_;
};

}  // namespace

qx::Arrival PedidoInteiro(std::string_view recebido) {
  const size_t fim = recebido.find("\r\n\r\n");
  if (fim == std::string_view::npos) {
    return recebido.size() > kMaiorCabeca ? qx::Arrival::kRefused : qx::Arrival::kMore;
  }
  if (fim > kMaiorCabeca) return qx::Arrival::kRefused;
  std::string_view cabeca = recebido.substr(0, fim + 2);
  size_t corpo = 0;
  int comprimentos = 0;
  for (size_t linha = cabeca.find("\r\n") + 2; linha < cabeca.size();) {
    const size_t proxima = cabeca.find("\r\n", linha);
    const std::string_view texto = cabeca.substr(linha, proxima - linha);
    linha = proxima + 2;
    const size_t doisPontos = texto.find(':');
    const std::string_view nome = texto.substr(0, doisPontos);
    if (MesmoNome(nome, "Transfer-Encoding")) return qx::Arrival::kRefused;
    if (doisPontos == std::string_view::npos || !MesmoNome(nome, "Content-Length")) continue;
    std::string_view valor = texto.substr(doisPontos + 1);
    valor.remove_prefix(std::min(valor.find_first_not_of(" \t"), valor.size()));
    valor = valor.substr(0, valor.find_last_not_of(" \t") + 1);
    const auto [ate, erro] = std::from_chars(valor.data(), valor.data() + valor.size(), corpo);
    if (erro != std::errc() || ate != valor.data() + valor.size() || ++comprimentos > 1 ||
        corpo > kMaiorCorpo) {
      return qx::Arrival::kRefused;
    }
  }
  return recebido.size() >= fim + 4 + corpo ? qx::Arrival::kWhole : qx::Arrival::kMore;
}

void Frente::Escuta(const std::string& endereco, int porta) {
  portao_ = std::make_unique<qx::RequestGate>(endereco, porta, kPrazoPedidoMs, PedidoInteiro);
  if (!portao_->listening()) {
    throw qx::FalhaLocal("não consigo escutar em " + endereco + ":" + std::to_string(porta) +
                             " (" + portao_->error() + ")",
                         "a porta está em uso? escolha outra com --porta N");
  }
}

void Frente::Serve(const std::function<bool()>& parar) {
  std::vector<std::thread> trabalhadores;
  for (size_t i = 0; i < kTrabalhadores; ++i) {
    trabalhadores.emplace_back([this] {
      qx::GateConnection conexao;
      while (portao_->Next(&conexao)) {
        Fluxo fluxo(std::move(conexao));
        bool fechada = false;
        process_request(fluxo, true, fechada, nullptr);
      }
    });
  }
  while (!parar()) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  portao_->Stop();
  for (std::thread& trabalhador : trabalhadores) trabalhador.join();
}

}  // namespace qxweb
