#include "storage/buffer_versions.h"

#include <atomic>
#include <string>
#include <unordered_map>

#include "values/crc64.h"

namespace qx {
namespace {

constexpr uint32_t kSuspensos = 0xFFFFFFFFu;

struct MapaDeVersoes {
  std::mutex trava;
  std::unordered_map<uint64_t, REG_CONTROLE_BUFFER> entradas;
};

// Created on first use and kept for the life of the process: entries are never
// dropped, so a version never starts over under a buffer that saw it.
MapaDeVersoes& Mapa() {
  static MapaDeVersoes* mapa = new MapaDeVersoes;
  return *mapa;
}

std::atomic<uint32_t> g_marcador{0};

}  // namespace

uint64_t ChaveDoCaminho(std::string_view caminho) {
  std::string minusculo(caminho);
  for (char& c : minusculo) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return Crc64(minusculo);
}

void RegistraAbertura(uint64_t chave) {
  MapaDeVersoes& mapa = Mapa();
  std::lock_guard<std::mutex> trava(mapa.trava);
  REG_CONTROLE_BUFFER& entrada = mapa.entradas[chave];
  ++entrada.ulAbertos;
  if (entrada.ulVersao == 0) entrada.ulVersao = 1;
}

void RegistraFechamento(uint64_t chave) {
  MapaDeVersoes& mapa = Mapa();
  std::lock_guard<std::mutex> trava(mapa.trava);
  REG_CONTROLE_BUFFER& entrada = mapa.entradas[chave];
  if (entrada.ulAbertos > 0) --entrada.ulAbertos;
}

uint32_t AvancaVersao(uint64_t chave) {
  MapaDeVersoes& mapa = Mapa();
  std::lock_guard<std::mutex> trava(mapa.trava);
  REG_CONTROLE_BUFFER& entrada = mapa.entradas[chave];
  if (++entrada.ulVersao == 0) entrada.ulVersao = 1;
  return entrada.ulVersao;
}

uint32_t VersaoAtual(uint64_t chave) { return ControleDoBuffer(chave).ulVersao; }

bool ConfereVersao(uint64_t chave, uint32_t* vista) {
  const uint32_t atual = VersaoAtual(chave);
  const bool igual = atual == *vista;
  *vista = atual;
  return igual;
}

REG_CONTROLE_BUFFER ControleDoBuffer(uint64_t chave) {
  MapaDeVersoes& mapa = Mapa();
  std::lock_guard<std::mutex> trava(mapa.trava);
  const auto entrada = mapa.entradas.find(chave);
  return entrada == mapa.entradas.end() ? REG_CONTROLE_BUFFER{0, 0} : entrada->second;
}

void SuspendeBuffers() { g_marcador.store(kSuspensos, std::memory_order_relaxed); }

void RetomaBuffers(uint32_t bytesLidos) { g_marcador.store(bytesLidos, std::memory_order_relaxed); }

bool BuffersSuspensos() { return g_marcador.load(std::memory_order_relaxed) == kSuspensos; }

std::mutex& TravaDeCriacao() {
  static std::mutex* trava = new std::mutex;
  return *trava;
}

}  // namespace qx
