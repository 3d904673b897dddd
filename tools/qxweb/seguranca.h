#pragma once
// Who may read the books through qxweb: its user only. Every request must
// carry the secret, which qxweb makes at start and shows in the address to
// open (or reads from --token-arquivo, a file of its user's alone): in that
// address, as "Authorization: Bearer SECRET", or as the cookie that the
// address and the login page set, which carries a value made from the secret
// (never the secret itself). Each wrong secret makes the next try wait longer.
// On a loopback address a page of any site a browser opens must not read the
// books through it either: every request must name the server by a loopback
// name in its one Host header. --sem-segredo drops the secret, on loopback
// only.

#include <chrono>
#include <mutex>
#include <string>
#include <string_view>

namespace qxweb {

inline constexpr char kCookie[] = "qxweb";
// The query parameter of the address to open that carries the secret.
inline constexpr char kParametroSegredo[] = "segredo";
// The shortest secret taken.
inline constexpr size_t kMenorSegredo = 16;

// A new secret: 32 hexadecimal digits from the system's random source.
std::string GeraSegredo();

// What the cookie of a secret holds: its HMAC-SHA-256, in hexadecimal.
std::string CookieDoSegredo(std::string_view segredo);

// How often a secret may be tried: after each wrong one the next waits twice
// as long as before (1 s, 2 s, 4 s ... at most kMaiorEspera); a right one
// starts over. Thread-safe.
class Tentativas {
 public:
  static constexpr std::chrono::seconds kMaiorEspera{60};
  // The seconds to wait before a secret may be tried; 0 now.
  int Espera();
  void Errou();
  void Acertou();

 private:
  std::mutex mutex_;
  int erros_ = 0;
  std::chrono::steady_clock::time_point livre_{};
};

// 127.0.0.0/8, ::1 and localhost.
bool EhLoopback(std::string_view endereco);

// A Host header that names a loopback address, with or without a port.
bool HostLocal(std::string_view host);

// The secret of the file: its first line without blanks at either end. A
// file that cannot be read or that other users may read, a secret shorter
// than kMenorSegredo or one that a cookie cannot carry as it is throws
// FalhaLocal.
std::string LeSegredo(const std::string& caminho);

// Whether `dado` is the secret, in a time that depends only on the secret's
// length.
bool MesmoSegredo(std::string_view dado, std::string_view segredo);

// The value of the cookie `nome` in a Cookie header; "" when it has none.
std::string ValorCookie(std::string_view cabecalho, std::string_view nome);

// What a request carries as the secret: the cookie, else the bearer token.
std::string SegredoDoPedido(std::string_view cookie, std::string_view autorizacao);

}  // namespace qxweb
