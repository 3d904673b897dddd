#pragma once
// Who may read the books through qxweb. On a loopback address only programs
// of this machine reach the port, and a page of any site a browser opens
// must not read the books through it: every request must name the server by
// a loopback name in its Host header. On any other address every request
// must also carry the secret of --token-arquivo, in the cookie the login page
// sets or as "Authorization: Bearer SECRET"; without a secret such a server
// does not start.

#include <string>
#include <string_view>

namespace qxweb {

inline constexpr char kCookie[] = "qxweb";
// The shortest secret taken.
inline constexpr size_t kMenorSegredo = 16;

// 127.0.0.0/8, ::1 and localhost.
bool EhLoopback(std::string_view endereco);

// A Host header that names a loopback address, with or without a port.
bool HostLocal(std::string_view host);

// The secret of the file: its first line without blanks at either end. A
// file that cannot be read, a secret shorter than kMenorSegredo or one that
// a cookie cannot carry as it is throws FalhaLocal.
std::string LeSegredo(const std::string& caminho);

// Whether `dado` is the secret, in a time that depends only on the secret's
// length.
bool MesmoSegredo(std::string_view dado, std::string_view segredo);

// The value of the cookie `nome` in a Cookie header; "" when it has none.
std::string ValorCookie(std::string_view cabecalho, std::string_view nome);

// What a request carries as the secret: the cookie, else the bearer token.
std::string SegredoDoPedido(std::string_view cookie, std::string_view autorizacao);

}  // namespace qxweb
