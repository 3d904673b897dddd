#include "contract/hresult.h"
#include "contract/suite_tables.h"

namespace qx {
namespace {

struct Name {
  int facility;
  const char* name;
};

// Facilities of the suite's modules.
constexpr Name kFacilities[] = {
    {236, "QX_FACILITY_DF_BASE"},
    {237, "QX_FACILITY_DF_CONEXAO"},
    {238, "QX_FACILITY_DF_DADOS"},
    {239, "QX_FACILITY_DF_SERVIDORES"},
    {240, "QX_FACILITY_CONTABILIDADE"},
    {241, "QX_FACILITY_ESCRITA_FISCAL"},
    {242, "QX_FACILITY_FOLHA"},
    {243, "QX_FACILITY_PATRIMONIO"},
    {244, "QX_FACILITY_FINANCEIRO"},
    {245, "QX_FACILITY_ESTOQUE"},
    {246, "QX_FACILITY_NFE"},
    {247, "QX_FACILITY_APURACAO"},
    {248, "QX_FACILITY_GED"},
    {249, "QX_FACILITY_LOG_ALTERACOES"},
    {250, "QX_FACILITY_HISTORICOS"},
    {251, "QX_FACILITY_PLANO_CONTAS"},
    {252, "QX_FACILITY_MESTRE_CONTABIL"},
    {253, "QX_FACILITY_ANALYTICS"},
    {254, "QX_FACILITY_MENSAGENS"},
    {255, "QX_FACILITY_IMPORTACAO"},
    {262, "QX_FACILITY_CR_CONEXAO"},
    {263, "QX_FACILITY_CR_DADOS"},
    {QX_FACILITY_CR_CORE, "QX_FACILITY_CR_CORE"},
    {265, "QX_FACILITY_CR_SERVIDORES"},
    {266, "QX_FACILITY_CR_UTIL"},
    {268, "QX_FACILITY_CR_WEB"},
    {269, "QX_FACILITY_CR_RELATORIOS"},
};

}  // namespace

const char* SuiteFacilityName(int facility) {
  for (const Name& row : kFacilities) {
    if (row.facility == facility) return row.name;
  }
  return nullptr;
}

}  // namespace qx
