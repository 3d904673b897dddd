// Every record that crosses the entry service interface.
#pragma once

#include "diagnostics/profiler_identity.h"  // _REG_DF_INICIALIZAPS
#include "entries/records_entry.h"
#include "entries/records_import.h"
#include "entries/records_lote.h"
#include "entries/records_search.h"
#include "entries/records_split.h"
#include "entries/records_web.h"
#include "outside/reg_erro.h"             // _REG_DF_ERROPS
#include "outside/reg_funcao_generica.h"  // _REG_DF_FUNCAO_GENERICAPS
#include "platform/bstr.h"
#include "platform/com_types.h"
