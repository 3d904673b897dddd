#include "resumo.h"

#include <algorithm>
#include <bit>

namespace qxweb {
namespace {

constexpr size_t kBloco = 64;

constexpr uint32_t kK[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4,
    0xab1c5ed5, 0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe,
    0x9bdc06a7, 0xc19bf174, 0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f,
    0x4a7484aa, 0x5cb0a9dc, 0x76f988da, 0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7,
    0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967, 0x27b70a85, 0x2e1b2138, 0x4d2c6dfc,
    0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85, 0xa2bfe8a1, 0xa81a664b,
    0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070, 0x19a4c116,
    0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7,
    0xc67178f2};

void Comprime(uint32_t (&h)[8], const uint8_t* bloco) {
  uint32_t w[64];
  for (int i = 0; i < 16; ++i) {
    w[i] = uint32_t{bloco[4 * i]} << 24 | uint32_t{bloco[4 * i + 1]} << 16 |
           uint32_t{bloco[4 * i + 2]} << 8 | uint32_t{bloco[4 * i + 3]};
  }
  for (int i = 16; i < 64; ++i) {
    const uint32_t s0 = std::rotr(w[i - 15], 7) ^ std::rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
    const uint32_t s1 = std::rotr(w[i - 2], 17) ^ std::rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
    w[i] = w[i - 16] + s0 + w[i - 7] + s1;
  }
  uint32_t v[8];
  std::copy(h, h + 8, v);
  for (int i = 0; i < 64; ++i) {
    const uint32_t s1 = std::rotr(v[4], 6) ^ std::rotr(v[4], 11) ^ std::rotr(v[4], 25);
    const uint32_t escolha = (v[4] & v[5]) ^ (~v[4] & v[6]);
    const uint32_t t1 = v[7] + s1 + escolha + kK[i] + w[i];
    const uint32_t s0 = std::rotr(v[0], 2) ^ std::rotr(v[0], 13) ^ std::rotr(v[0], 22);
    const uint32_t maioria = (v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]);
    std::copy_backward(v, v + 7, v + 8);
    v[4] += t1;
    v[0] = t1 + s0 + maioria;
  }
  for (int i = 0; i < 8; ++i) h[i] += v[i];
}

}  // namespace

std::array<uint8_t, 32> Sha256(std::string_view dados) {
  uint32_t h[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                   0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
  // The data, a 1 bit, zeros, and the length in bits as the last 8 bytes of a block.
  std::string resto(dados.substr(dados.size() - dados.size() % kBloco));
  resto += '\x80';
  resto.append((kBloco + 56 - resto.size() % kBloco) % kBloco, '\0');
  const uint64_t bits = uint64_t{dados.size()} * 8;
  for (int i = 7; i >= 0; --i) resto += static_cast<char>(bits >> (8 * i));
  const auto* inteiros = reinterpret_cast<const uint8_t*>(dados.data());
  for (size_t at = 0; at + kBloco <= dados.size(); at += kBloco) Comprime(h, inteiros + at);
  for (size_t at = 0; at < resto.size(); at += kBloco) {
    Comprime(h, reinterpret_cast<const uint8_t*>(resto.data()) + at);
  }
  std::array<uint8_t, 32> resumo{};
  for (size_t i = 0; i < resumo.size(); ++i) {
    resumo[i] = static_cast<uint8_t>(h[i / 4] >> (24 - 8 * (i % 4)));
  }
  return resumo;
}

std::string HmacSha256Hex(std::string_view chave, std::string_view mensagem) {
  std::string bloco(kBloco, '\0');
  if (chave.size() > kBloco) {
    const auto curta = Sha256(chave);
    std::copy(curta.begin(), curta.end(), bloco.begin());
  } else {
    std::copy(chave.begin(), chave.end(), bloco.begin());
  }
  std::string interno(bloco), externo(bloco);
  for (size_t i = 0; i < kBloco; ++i) {
    interno[i] = static_cast<char>(interno[i] ^ 0x36);
    externo[i] = static_cast<char>(externo[i] ^ 0x5c);
  }
  const auto dentro = Sha256(interno.append(mensagem));
  const auto fora = Sha256(externo.append(dentro.begin(), dentro.end()));
  return Hexadecimal(fora.data(), fora.size());
}

std::string Hexadecimal(const uint8_t* bytes, size_t tamanho) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string texto;
  for (size_t i = 0; i < tamanho; ++i) {
    texto += kHex[bytes[i] >> 4];
    texto += kHex[bytes[i] & 15];
  }
  return texto;
}

}  // namespace qxweb
