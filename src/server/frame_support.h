// The parts of the call frame that do not depend on the business class: the
// handling of a machine fault, the invalid-parameter handler, the log line of
// a frame, the clock and the checks of an initialisation record.
#pragma once

#include <cstdint>

#include "contract/profiler_identity.h"
#include "platform/com_types.h"
#include "server/frame_site.h"

namespace qx {

// A machine fault that ended a guarded step of the frame at site: keeps the
// process's last fault, reports it to the error-report library (with the
// company text, which may be null, and with the call-stack text when
// comPilha) and gives the fault's HRESULT.
HRESULT TrataFalhaMaquina(uint32_t codigo, const char* empresa, const FrameSite& site,
                          bool comPilha);

// The invalid-parameter handler's work for site: reports the rejected
// argument and throws the HRESULT of the current errno as a 32-bit integer.
[[noreturn]] void TrataParametroInvalido(const FrameSite& site, const char16_t* expressao,
                                         const char16_t* funcao, const char16_t* arquivo,
                                         unsigned linha);

// The invalid-parameter handler of one frame.
template <const FrameSite& Site>
void OnInvalidParameter(const char16_t* expressao, const char16_t* funcao, const char16_t* arquivo,
                        unsigned linha, uintptr_t) {
  TrataParametroInvalido(Site, expressao, funcao, arquivo, linha);
}

// The error log line of a frame: "<variavel> = <passo>" and the code.
void GravaLogFrame(IQXDF_Profiler* identidade, const FrameSite& site, const char* variavel,
                   const char* passo, HRESULT hr);

// The system clock in 100 ns units.
int64_t Agora100ns();

// The checks of Inicializa_Padrao before the record is taken: the version,
// then, unless the machine's "DesabilitaControleInicializacao" is set, the
// record's CRC and its structure. S_OK, or the code of the first failing
// check, with the code's name in *nomeCodigo.
HRESULT VerificaRegistroInicializacao(const _REG_DF_INICIALIZAPS& registro,
                                      const char** nomeCodigo);

}  // namespace qx
