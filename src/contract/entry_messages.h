// Message results of the entry operations: facility 4 with the message number
// in the low word.
#pragma once

#include "platform/com_types.h"

namespace qx {

// The entry asked for is deleted, as a failure (the form the data reads give).
inline constexpr HRESULT kHrLancamentoExcluido = static_cast<HRESULT>(0x800405F7u);

// Message numbers of the entry reads and removals, and their success form.
inline constexpr int kMensagemLancamentoExcluido = 1527;     // the entry is deleted
inline constexpr int kMensagemLancamentoInexistente = 1528;  // no entry at that position
// An operation that failed part way could not be taken back at once: the next
// save, removal or opening of the company takes it back from its intent.
inline constexpr int kMensagemOperacaoInterrompida = 1531;
inline constexpr HRESULT kHrOperacaoInterrompida = static_cast<HRESULT>(0x800405FBu);
// The entry's date, or the date an update or a removal finds stored, lies in
// the company's closed period (outside/admin/periodo_fechado.h): always a failure.
inline constexpr int kMensagemPeriodoFechado = 1532;
inline constexpr HRESULT kHrPeriodoFechado = static_cast<HRESULT>(0x800405FCu);
constexpr HRESULT HrMensagem(int numero) {
  return static_cast<HRESULT>(0x00040000u | static_cast<uint32_t>(numero));
}

}  // namespace qx
