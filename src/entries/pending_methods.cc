// The business methods whose work is not built yet: each answers E_NOTIMPL.
// The list below names them; when a method's work lands, delete its line and
// define the method where its work lives (a method left in the list and
// defined elsewhere, or taken out and defined nowhere, fails to link).
#include "entries/lancamento_base.h"


// QX_SE_PENDENTE(Metodo, text) gives text when QX_PENDENTE_Metodo is listed
// above, and nothing otherwise: a listed name expands to two tokens, which
// moves 1 into the second place of QX_SEGUNDO's arguments.
#define QX_SIM ~, 1
#define QX_SEGUNDO(a, b, ...) b
#define QX_TESTE(...) QX_SEGUNDO(__VA_ARGS__, 0, ~)
#define QX_JUNTA(a, b) QX_JUNTA_(a, b)
#define QX_JUNTA_(a, b) a##b
#define QX_QUANDO_1(...) __VA_ARGS__
#define QX_QUANDO_0(...)
#define QX_SE_PENDENTE(name, ...) QX_JUNTA(QX_QUANDO_, QX_TESTE(QX_PENDENTE_##name))(__VA_ARGS__)

#define QX_UNKNOWN_METHOD(slot, name, test, params)
#define QX_METHOD(slot, name, area, test, params, logged, ignored) \
  QX_SE_PENDENTE(                                                  \
      name, HRESULT CLancamentoBase::name QX_TYPES params { return E_NOTIMPL; })
#include "entries/interface_table.def"
