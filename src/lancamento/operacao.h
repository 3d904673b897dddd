// An operation of the entry service on the company's files (a save, a batch
// of saves, a removal, the removal of imported entries) as one outcome for
// the files and the change log. Under mark 7 of the company folder, the
// operation's intent (storage/intencao.h) covers every write of its thread;
// its change-log records are stored together with the note that it ended, in
// one transaction of the company database, and only then is the intent
// emptied. An operation that fails is taken back from its intent, in this
// process; one that a dead process or machine left is taken back by the next
// holder of the mark (the next operation, or the next opening of the
// company), which finds the intent and no note that it ended (RecuperaPendente).
#pragma once

#include <cstdint>
#include <string>

#include "lancamento/gravacao/lote_log.h"
#include "storage/intencao.h"
#include "storage/qx_arq_ex.h"
#include "storage/qx_arq_marca_enum.h"

class CLancamentoBase;

namespace qx {

// The room an operation takes on the disks of the company's files and of its
// database, checked before it writes anything.
struct Espaco {
  uint64_t arquivos = 0;  // bytes its records add to the month and side files, and its intent
  uint64_t log = 0;       // bytes of its change-log records
  // A save keeps the free-space reserve untouched; removals may use it, so
  // that what a full disk let in can always be taken out again.
  bool reserva = true;
  Espaco& operator+=(const Espaco& outro) {
    arquivos += outro.arquivos;
    log += outro.log;
    return *this;
  }
};

// Whether the operation may write: ARQ_OK; ARQ_DISCO_CHEIO when a disk has
// not the room it takes (with the reserve, for a save); or the failure to
// record a session that a full disk kept from being recorded.
int AceitaGravacao(CLancamentoBase& objeto, const Espaco& espaco);

class Operacao {
 public:
  Operacao(CLancamentoBase& objeto, char tipo);
  // An operation begun and neither ended nor taken back is taken back.
  ~Operacao();
  Operacao(const Operacao&) = delete;
  Operacao& operator=(const Operacao&) = delete;

  // Takes mark 7 for the object's user and takes back what an operation that
  // stopped part way left. 0, the mark's status, or the failure of that
  // recovery or of the intent's file.
  int Prepara();
  // Prepara, then starts this operation's intent.
  int Inicia();
  // The change-log records of the operation, kept until it ends.
  LoteLog& log() { return log_; }
  // Ends the operation: stores its records with the note that it ended, then
  // empties its intent. The files must be closed. A failure to store them is
  // returned, and the operation is still to be taken back.
  HRESULT Conclui();
  // Takes back every write since Inicia (the files must be closed). True when
  // done; false when the intent stays for the next holder of the mark, which
  // takes the operation back.
  bool Desfaz();

 private:
  CLancamentoBase& objeto_;
  char tipo_;
  // Declared first, so that it is released after the intent is closed.
  CQXArqEx marca_;
  Intencao intencao_;
  LoteLog log_;
  uint64_t numero_ = 0;
  bool aberta_ = false;  // begun, and neither ended nor taken back
};

// Takes back the operation whose intent the open `intencao` holds, unless the
// change log noted it as ended: its writes are undone, and the company's
// history and the system event log say what was taken back. The intent is
// emptied. 0, or the failure that leaves it for another try.
int RecuperaPendente(CLancamentoBase& objeto, Intencao& intencao);

// At the opening of a company: an intent left in its folder is taken back
// under the mark. Failures only reach the error log; the next operation tries
// again.
void RecuperaAoAbrir(CLancamentoBase& objeto);

}  // namespace qx
