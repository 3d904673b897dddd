// Failure causes of the file layer become status codes, under a fixed retry
// budget per operation.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "platform/clock.h"
#include "platform/file_exception.h"
#include "storage/arq_status.h"

namespace qx {

// The status code of a failure cause.
int StatusDaCausa(int causa);

// A set of failure causes, one bit per cause.
constexpr uint32_t Causas(std::initializer_list<int> causas) {
  uint32_t bits = 0;
  for (const int causa : causas) bits |= 1u << causa;
  return bits;
}

// How an operation meets a failure. The causes in `imediatas` return their code
// at once; those in `naUltima` are tried again and return their code on the last
// attempt; every other cause is tried again. When the attempts run out the
// result is ARQ_ERRO_GERAL. A retry waits `pausaMs` first (0: no pause).
struct Orcamento {
  int tentativas;
  uint32_t pausaMs;
  uint32_t imediatas;
  uint32_t naUltima;
};

// Runs `tentativa` (returns a status, may throw CFileException*) under the
// budget and returns its status or that of its last failure.
template <typename Tentativa>
int ComOrcamento(const Orcamento& orcamento, Tentativa&& tentativa) {
  for (int vez = 1;; ++vez) {
    int causa;
    try {
      return tentativa();
    } catch (CFileException* erro) {
      causa = erro->m_cause;
      erro->Delete();
    }
    const uint32_t bit = causa >= 0 && causa < 32 ? 1u << causa : 0;
    const bool ultima = vez >= orcamento.tentativas;
    if ((orcamento.imediatas & bit) != 0 || ((orcamento.naUltima & bit) != 0 && ultima)) {
      return StatusDaCausa(causa);
    }
    if (ultima) return ARQ_ERRO_GERAL;
    if (orcamento.pausaMs != 0) Sleep(orcamento.pausaMs);
  }
}

}  // namespace qx
