#pragma once
// SHA-256 and its HMAC (FIPS 180-4, RFC 2104): what the cookie of qxweb
// carries in place of the secret.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace qxweb {

std::array<uint8_t, 32> Sha256(std::string_view dados);

// The bytes in lower-case hexadecimal, two digits each.
std::string Hexadecimal(const uint8_t* bytes, size_t tamanho);

// HMAC-SHA-256 of the message under the key, in lower-case hexadecimal.
std::string HmacSha256Hex(std::string_view chave, std::string_view mensagem);

}  // namespace qxweb
