// The output side of the web listing: one listed entry made from its record,
// its history code shown by the company's history text kind, and the delivery
// of the collected entries in task memory.
#pragma once

#include <cstdint>
#include <vector>

#include "contract/records_web.h"
#include "outside/database/conexao_plano.h"
#include "storage/records/entry_records.h"
#include "values/qx_mes_ano.h"

namespace qx {

// The check digit of a history code: from its first four digits (with leading
// zeros) d1..d4, 11 - ((4 d1 + 5 d2 + 7 d3 + 6 d4) mod 11), less 10 above 9.
int DigitoHistorico(uint32_t codigo);

// The text of a history code by the text kind: 0 the history text, 1 the code
// and its check digit, 2 the short name; at most 5 characters and a NUL. Any
// other kind leaves the field zero.
void TextoCodigoHistorico(uint8_t tipo, uint16_t codigo, const _RegHistoricoPS& historico,
                          char (&campo)[6]);

// The listed entry of position p of month m; its history is read through
// `historicos`, whose negative result is returned.
HRESULT MontaLancamentoWeb(const EntryRecord& registro, CQXMesAno mes, uint32_t posicao,
                           CConexaoHistorico& historicos, uint8_t tipoTexto,
                           _REG_LANCAMENTO_TARVOWEB_PS* saida);

// Hands the entries out: a zeroed list record and a zeroed block of the
// entries, both from CoTaskMemAlloc and owned by the caller. E_OUTOFMEMORY,
// with *lista null and nothing allocated, when memory is short.
HRESULT EntregaListaWeb(const std::vector<_REG_LANCAMENTO_TARVOWEB_PS>& lancamentos,
                        _REG_LISTA_LANCAMENTOS_TARVOWEB_PS** lista);

}  // namespace qx
