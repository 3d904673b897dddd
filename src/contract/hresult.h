// Reading an HRESULT, and the codes this server defines.
#pragma once

#include <cstdint>

#include "platform/com_types.h"

inline constexpr int FACILITY_ITF = 4;
inline constexpr int QX_FACILITY_CR_CORE = 264;

// The server's own codes (facility 264).
inline constexpr HRESULT E_QXCR_NAO_INICIALIZADO = static_cast<HRESULT>(0x81080A04u);
inline constexpr HRESULT E_QXCR_SEM_OBJETO = static_cast<HRESULT>(0x81080AA8u);
inline constexpr HRESULT E_QXCR_FALHA_INTERNA = static_cast<HRESULT>(0x81080BB1u);
inline constexpr HRESULT E_QXCR_VERSAO_INCOMPATIVEL = static_cast<HRESULT>(0x81080BFDu);
inline constexpr HRESULT E_QXCR_CRC_INICIALIZACAO_INVALIDO = static_cast<HRESULT>(0x81080C17u);
inline constexpr HRESULT E_QXCR_ESTRUTURA_INICIALIZACAO_INVALIDA =
    static_cast<HRESULT>(0x81080C19u);

// The end mark of an ignored-code list.
inline constexpr HRESULT kFimListaCodigos = static_cast<HRESULT>(0xFFFFFFFFu);

namespace qx {

// Bit 31: 1 for a failure.
constexpr int HresultSeverity(HRESULT hr) { return static_cast<uint32_t>(hr) >> 31; }
// Bits 16 to 28: thirteen bits, so 0x8108xxxx has facility 264.
constexpr int HresultFacility(HRESULT hr) { return (static_cast<uint32_t>(hr) >> 16) & 0x1FFF; }
// The low 16 bits.
constexpr int HresultCode(HRESULT hr) { return static_cast<uint32_t>(hr) & 0xFFFF; }

}  // namespace qx

// True when hr is in list, a list of codes ended by kFimListaCodigos (a null
// list is empty).
bool IgnoredCodeList(HRESULT hr, const HRESULT* list);
