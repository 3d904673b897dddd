// The entry service's interfaces, generated from interface_table.def in slot
// order: IQXUnknown (slots 3 to 6) and IQXCN_Lancamento (slots 7 to 92), the
// published interface; IQXCN_LancamentoLote (slots 3 and up), the batch
// interface of the same class.
#pragma once

#include "contract/interface_ids.h"
#include "contract/interface_params.h"
#include "contract/interface_records.h"
#include "platform/unknown.h"

struct IQXUnknown : public IUnknown {
#define QX_UNKNOWN_METHOD(slot, name, test, params) virtual HRESULT name QX_DECLS params = 0;
#include "contract/interface_table.def"

 protected:
  ~IQXUnknown() = default;
};

struct IQXCN_Lancamento : public IQXUnknown {
#define QX_UNKNOWN_METHOD(slot, name, test, params)
#define QX_METHOD(slot, name, area, test, params, logged, ignored) \
  virtual HRESULT name QX_DECLS params = 0;
#include "contract/interface_table.def"

 protected:
  ~IQXCN_Lancamento() = default;
};

struct IQXCN_LancamentoLote : public IUnknown {
#define QX_LOTE_METHOD(slot, name, area, test, params, logged, ignored) \
  virtual HRESULT name QX_DECLS params = 0;
#include "contract/interface_table.def"

 protected:
  ~IQXCN_LancamentoLote() = default;
};
