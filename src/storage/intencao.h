// The intent of an operation on a company folder's record files
// (records/intent_records.h). While an operation runs, every write that its
// thread makes to a record file (EscreveInteiro) first adds to the file of
// the folder's mark 7, which the operation holds, what the write replaces:
// the file's length before it grew, or the bytes it held. The operation can
// then be taken back exactly, whether it fails in this process or the process
// dies part way and the next holder of the mark finds the intent.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/file.h"
#include "storage/records/intent_records.h"

namespace qx {

// One entry of an intent as read back.
struct EntradaIntencao {
  char tipo = kIntentLength;  // kIntentLength or kIntentBytes
  std::string nome;
  uint64_t posicao = 0;  // the length ('T') or the bytes' offset ('B')
  std::string bytes;     // 'B' only
};

// What undoing an intent did to one file.
struct ArquivoDesfeito {
  std::string nome;
  // The length the intent gave the file back, and the one it found: bytes
  // from the first on were written by the operation.
  std::optional<uint64_t> comprimentoAntes;
  uint64_t comprimentoEncontrado = 0;
  std::vector<std::pair<uint64_t, uint32_t>> trechos;  // bytes written back: offset, size
  bool ausente = false;                                // the file was gone
};

class Intencao {
 public:
  Intencao() = default;
  ~Intencao();
  Intencao(const Intencao&) = delete;
  Intencao& operator=(const Intencao&) = delete;

  // Keeps the intents in `arquivo`, the held file of the mark of the folder
  // `pasta`; *pendente tells whether it holds the intent of an operation that
  // did not end. 0 or the status of the length's read.
  int Abre(CFile& arquivo, const std::string& pasta, bool* pendente);
  // The header of the intent the file holds (nullopt when it holds none whole)
  // and its whole entries, in their order.
  int Le(std::optional<IntentHeader>* cabecalho, std::vector<EntradaIntencao>* entradas);
  // Takes back what the intent the file holds records, the last entry first:
  // bytes are written back and files that grew are cut back to their length.
  // The files are opened anew (the caller has closed its own); a file that is
  // gone is passed over. *arquivos says what was done to each. 0 or the
  // status of the first failing step, which leaves the intent in the file.
  int Desfaz(std::vector<ArquivoDesfeito>* arquivos);
  // Empties the file: no operation is pending.
  int Limpa();

  // Starts the intent of a new operation on the empty file: from now on the
  // thread's record-file writes are covered by it, until Termina. The header
  // goes to the file with the first entry.
  void Comeca(const IntentHeader& cabecalho);
  void Termina();

  // Notes the length of `arquivo`, which the operation may write, before
  // any write to it: it goes to the intent with the next entry, and the
  // appends to the file then add nothing more. 0 or the status of the
  // length's read.
  int Anuncia(CFile& arquivo);

  // The intent that covers the calling thread's writes, or null.
  static Intencao* DaThread();
  // Adds what a write of `tamanho` bytes at `posicao` of `arquivo` replaces,
  // when the intent does not hold it yet. Throws CFileException* when the
  // intent cannot be written: the write must not happen then.
  void AntesDeEscrever(CFile& arquivo, uint64_t posicao, uint32_t tamanho);

 private:
  // Appends entries (and the waiting header) at the end of the intent.
  void Acrescenta(const std::string& bytes);

  std::string pasta_;
  CFile* arquivo_ = nullptr;
  uint64_t fim_ = 0;          // the end of the whole entries written
  std::string cabecalho_;     // the header, until the first entry
  std::string anunciados_;    // the lengths announced since the last entry
  // The length of each file before its first write, and the stretches whose
  // bytes the intent holds.
  std::map<std::string, uint64_t> comprimentos_;
  std::set<std::pair<std::string, uint64_t>> guardados_;
};

// The intent that the bytes of an intent file hold: its header (nullopt when
// they hold none whole) and its whole entries, in their order.
void LeIntencao(const std::string& bytes, std::optional<IntentHeader>* cabecalho,
                std::vector<EntradaIntencao>* entradas);

// A new operation's header.
IntentHeader CabecalhoIntencao(uint64_t operacao, uint32_t sessao, uint16_t usuario, char tipo);

}  // namespace qx
