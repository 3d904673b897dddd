// Every record that crosses the entry service interface.
#pragma once

#include "contract/profiler_identity.h"  // _REG_DF_INICIALIZAPS
#include "contract/records_entry.h"
#include "contract/records_import.h"
#include "contract/records_lote.h"
#include "contract/records_search.h"
#include "contract/records_split.h"
#include "contract/records_web.h"
#include "contract/reg_erro.h"             // _REG_DF_ERROPS
#include "contract/reg_funcao_generica.h"  // _REG_DF_FUNCAO_GENERICAPS
#include "platform/bstr.h"
#include "platform/com_types.h"
