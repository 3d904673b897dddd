#pragma once
// The front of qxweb: a request reaches the pages only once it has arrived
// whole, its head and its small body, within kPrazoPedidoMs of the
// connection (qx::RequestGate), so that connections that send slowly or
// nothing never hold one of the kTrabalhadores that serve the pages. Each
// connection carries one request and closes after the answer.

#include <httplib.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/request_gate.h"

namespace qxweb {

// Requests served at once; the others wait their turn.
inline constexpr size_t kTrabalhadores = 8;
inline constexpr uint32_t kPrazoPedidoMs = 10000;
// The longest head taken, and the longest body (no page takes a body but the login's).
inline constexpr size_t kMaiorCabeca = 16384;
inline constexpr size_t kMaiorCorpo = 4096;

// Whether the bytes received are a whole request: a head ending in a blank
// line, then as many bytes as its Content-Length says. A head or a body too
// long, a body in chunks and two lengths are refused.
qx::Arrival PedidoInteiro(std::string_view recebido);

class Frente : public httplib::Server {
 public:
  // Listens on the address and port (0: any free one); a failure throws
  // FalhaLocal naming the address.
  void Escuta(const std::string& endereco, int porta);
  int porta() const { return portao_ ? portao_->port() : 0; }
  // Serves until `parar` answers true (asked every 100 ms).
  void Serve(const std::function<bool()>& parar);

 private:
  std::unique_ptr<qx::RequestGate> portao_;
};

}  // namespace qxweb
