// The business methods whose work is not built yet: each answers E_NOTIMPL.
// The list below names them; when a method's work lands, delete its line and
// define the method where its work lives (a method left in the list and
// defined elsewhere, or taken out and defined nowhere, fails to link).
#include "entries/lancamento_base.h"

#define QX_PENDENTE_FechaEspecial QX_SIM
#define QX_PENDENTE_LeEspecial QX_SIM
#define QX_PENDENTE_AbreEspecial QX_SIM
#define QX_PENDENTE_BuscaQtdLancamentos QX_SIM
#define QX_PENDENTE_BuscaLancamentos QX_SIM
#define QX_PENDENTE_SetDocumentoInicial QX_SIM
#define QX_PENDENTE_SetDocumentoFinal QX_SIM
#define QX_PENDENTE_SetChaveInicial QX_SIM
#define QX_PENDENTE_SetChaveFinal QX_SIM
#define QX_PENDENTE_SetMesInicial QX_SIM
#define QX_PENDENTE_SetMesFinal QX_SIM
#define QX_PENDENTE_SetDataInicial QX_SIM
#define QX_PENDENTE_SetDataFinal QX_SIM
#define QX_PENDENTE_SetValorInicial QX_SIM
#define QX_PENDENTE_SetValorFinal QX_SIM
#define QX_PENDENTE_SetConta QX_SIM
#define QX_PENDENTE_SetHistoricoFiltro QX_SIM
#define QX_PENDENTE_SetUsuarioFiltro QX_SIM
#define QX_PENDENTE_SetComplementoFiltro QX_SIM
#define QX_PENDENTE_GetQuantidadeEmpresas QX_SIM
#define QX_PENDENTE_GetEmpresas QX_SIM
#define QX_PENDENTE_LeEspecialDados QX_SIM
#define QX_PENDENTE_LimpaFiltro QX_SIM
#define QX_PENDENTE_LeEspecialChaves QX_SIM
#define QX_PENDENTE_LeEspecialChavesComplemento QX_SIM
#define QX_PENDENTE_SetFiltroOrigem QX_SIM
#define QX_PENDENTE_PegaDadosCRM QX_SIM
#define QX_PENDENTE_BuscaQtdLancamentosConta QX_SIM
#define QX_PENDENTE_SetContaGerencial QX_SIM
#define QX_PENDENTE_SetSessao QX_SIM
#define QX_PENDENTE_LeLancamentosMes QX_SIM
#define QX_PENDENTE_ExclusaoImportacao QX_SIM
#define QX_PENDENTE_ValidaChavesConciliacao QX_SIM
#define QX_PENDENTE_BuscaLancamentosTarvoWeb QX_SIM
#define QX_PENDENTE_GetRangeDatasTarvoWeb QX_SIM

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
