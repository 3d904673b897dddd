#include "server/last_fault.h"

#include <mutex>

namespace qx {
namespace {

std::mutex& Guarda() {
  static std::mutex mutex;
  return mutex;
}

UltimaFalha& Falha() {
  static UltimaFalha falha;
  return falha;
}

}  // namespace

void GuardaUltimaFalha(uint32_t codigo, const std::string* pilha) {
  std::lock_guard<std::mutex> lock(Guarda());
  Falha().codigo = codigo;
  if (pilha != nullptr) Falha().pilha = *pilha;
}

UltimaFalha LeUltimaFalha() {
  std::lock_guard<std::mutex> lock(Guarda());
  return Falha();
}

}  // namespace qx
