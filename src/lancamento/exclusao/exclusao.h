// The removal of one entry, as Exclui and the removal of imported entries run
// it inside an operation (operacao.h): its record keeps its position with
// status 1, its split lines become zero records, its totals are taken back,
// and its image goes to the operation's change-log records.
#pragma once

#include <cstdint>

#include "lancamento/gravacao/lote_log.h"
#include "lancamento/operacao.h"
#include "storage/arq_status.h"
#include "storage/records/entry_records.h"

class CLancamentoBase;

namespace qx {

struct Remocao {
  // ARQ_OK, kMensagemLancamentoInexistente past the end, or the failing
  // step's status.
  int status = ARQ_OK;
  bool excluidoAgora = false;  // this call wrote the record as deleted
};

// Removes entry indlan of mesAno with the object's current complement text in
// its change-log image. The files are closed on return.
Remocao ExcluiNaOperacao(CLancamentoBase& objeto, int32_t indlan, uint16_t mesAno, LoteLog& log);

// The room a removal takes (it may use the reserve).
Espaco EspacoDaExclusao(const char* complemento);

// Tells document management that entry indlan of mesAno was removed: S_OK,
// or the failure it gave (written to the error log), other than -1.
HRESULT InformaExclusaoGed(CLancamentoBase& objeto, int32_t indlan, uint16_t mesAno);

}  // namespace qx
