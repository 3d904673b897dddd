// Where a frame runs: its name in logs and statistics, its source unit and
// line, whether it is refused before initialisation, and the failures it does
// not log. One site per entry method (generated from the interface table) and
// one per frame of the COM object itself.
#pragma once

#include "contract/hresult.h"
#include "contract/interface_table.h"

namespace qx {

struct FrameSite {
  const char* nome;
  const char* unidade;
  int linha;
  StateTest teste;
  const HRESULT* ignorados;  // ended by kFimListaCodigos
};

namespace sites {

#define QX_UNKNOWN_METHOD(slot, name, test, params)
#define QX_METHOD(slot, name, area, test, params, logged, ignored)                            \
  inline constexpr FrameSite k##name{"CQXCN_Lancamento::" #name, "QXCN_Lancamento", __LINE__, \
                                     StateTest::k##test, table::kIgnored_##name};
#define QX_LOTE_METHOD QX_METHOD
#include "contract/interface_table.def"

inline constexpr HRESULT kNenhumIgnorado[] = {kFimListaCodigos};

#define QX_FRAME_T_QXUNKNOWN "T_QXUnknown<struct IQXCN_Lancamento,class CLancamentoBase>::"
inline constexpr FrameSite kConstrutor{QX_FRAME_T_QXUNKNOWN "T_QXUnknown", "T_QXUnknown", __LINE__,
                                       StateTest::kQualquerEstado, kNenhumIgnorado};
inline constexpr FrameSite kDestrutor{QX_FRAME_T_QXUNKNOWN "~T_QXUnknown", "T_QXUnknown", __LINE__,
                                      StateTest::kQualquerEstado, kNenhumIgnorado};
inline constexpr FrameSite kInicializaPadrao{QX_FRAME_T_QXUNKNOWN "Inicializa_Padrao",
                                             "T_QXUnknown", __LINE__, StateTest::kQualquerEstado,
                                             kNenhumIgnorado};
inline constexpr FrameSite kFuncaoGenerica{QX_FRAME_T_QXUNKNOWN "FuncaoGenerica", "T_QXUnknown",
                                           __LINE__, StateTest::kInicializado,
                                           table::kIgnored_FuncaoGenerica};
#undef QX_FRAME_T_QXUNKNOWN

}  // namespace sites
}  // namespace qx
