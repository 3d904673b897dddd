// Process-wide state of the buffered record files: one version counter per open
// path (a buffer is trusted only while the version it was read under stands),
// the buffers-suspended marker, and the lock of controlled creation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string_view>

#pragma pack(push, 1)
// Entry of the version map.
struct REG_CONTROLE_BUFFER {
  uint32_t ulVersao;   // 1 and up; moves on every write through any object
  uint32_t ulAbertos;  // objects that have the file open now
};
#pragma pack(pop)
static_assert(sizeof(REG_CONTROLE_BUFFER) == 8);
static_assert(offsetof(REG_CONTROLE_BUFFER, ulVersao) == 0);
static_assert(offsetof(REG_CONTROLE_BUFFER, ulAbertos) == 4);

namespace qx {

// Key of a path in the version map: the CRC-64 of the lower-cased path.
uint64_t ChaveDoCaminho(std::string_view caminho);

// An object opened or closed the file (the open count never drops below 0).
void RegistraAbertura(uint64_t chave);
void RegistraFechamento(uint64_t chave);
// The file was written: its version moves on (skipping 0). Returns the new version.
uint32_t AvancaVersao(uint64_t chave);
// The file's current version (0 for a file never seen).
uint32_t VersaoAtual(uint64_t chave);
// Whether the file's version is still *vista; *vista becomes the current one.
bool ConfereVersao(uint64_t chave, uint32_t* vista);
// The map entry of a key, as it stands.
REG_CONTROLE_BUFFER ControleDoBuffer(uint64_t chave);

// The buffers-suspended marker: every invalidation suspends all buffers of the
// process; every buffer fill lifts it again.
void SuspendeBuffers();
void RetomaBuffers(uint32_t bytesLidos);
bool BuffersSuspensos();

// Serialises controlled creation within the process.
std::mutex& TravaDeCriacao();

}  // namespace qx
