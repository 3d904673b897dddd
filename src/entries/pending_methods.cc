// The business methods whose work is not built yet: each answers E_NOTIMPL.
// The list below names them; when a method's work lands, delete its line and
// define the method where its work lives (a method left in the list and
// defined elsewhere, or taken out and defined nowhere, fails to link).
#include "entries/lancamento_base.h"

#define QX_PENDENTE_SetDebito QX_SIM
#define QX_PENDENTE_SetCredito QX_SIM
#define QX_PENDENTE_SetDocumento QX_SIM
#define QX_PENDENTE_SetValor QX_SIM
#define QX_PENDENTE_SetFilial QX_SIM
#define QX_PENDENTE_SetHistorico QX_SIM
#define QX_PENDENTE_SetData QX_SIM
#define QX_PENDENTE_GetDebito QX_SIM
#define QX_PENDENTE_GetCredito QX_SIM
#define QX_PENDENTE_GetDocumento QX_SIM
#define QX_PENDENTE_GetValor QX_SIM
#define QX_PENDENTE_GetFilial QX_SIM
#define QX_PENDENTE_GetHistorico QX_SIM
#define QX_PENDENTE_GetData QX_SIM
#define QX_PENDENTE_Grava QX_SIM
#define QX_PENDENTE_GravaConferido QX_SIM
#define QX_PENDENTE_LeGerencial QX_SIM
#define QX_PENDENTE_GetLancamentoGerencial QX_SIM
#define QX_PENDENTE_SetLancamentoGerencial QX_SIM
#define QX_PENDENTE_TemGerencial QX_SIM
#define QX_PENDENTE_ZeraLancamentoGerencial QX_SIM
#define QX_PENDENTE_SetComplemento QX_SIM
#define QX_PENDENTE_GravaDados QX_SIM
#define QX_PENDENTE_FazRedGerencial QX_SIM
#define QX_PENDENTE_GetQuantidadeGerencial QX_SIM
#define QX_PENDENTE_SetQuantidadeGerencial QX_SIM
#define QX_PENDENTE_GeraArquivoQuantidadeGerencial QX_SIM
#define QX_PENDENTE_ZeraQuantidadeGerencial QX_SIM

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
