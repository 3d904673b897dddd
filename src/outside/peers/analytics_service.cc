// The analytics service: each figure goes to the "analytics" table of the
// database of the company it names.
#include <map>
#include <string>
#include <vector>

#include "outside/database/company_database.h"
#include "outside/database/sql_statement.h"
#include "outside/database/timestamp.h"
#include "outside/peers/service_factories.h"

namespace qx {
namespace {

std::string Text(const char* text) { return text != nullptr ? text : ""; }

HRESULT StoreFigures(SuiteDatabase& db, const std::vector<const _REG_CR_ANALYTICSPS*>& figures) {
  return db.Write([&] {
    HRESULT hr = S_OK;
    for (const _REG_CR_ANALYTICSPS* figure : figures) {
      SqlStatement insert(db,
                          "INSERT INTO analytics (empresa, aplicativo, origem, classe, metodo, "
                          "data_hora, quantidade, total, maior, menor, usuario) "
                          "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
      insert.BindText(1, Text(figure->pszEmpresa)).BindText(2, Text(figure->pszAplicativo));
      insert.BindText(3, Text(figure->pszOrigem)).BindText(4, Text(figure->pszClasse));
      insert.BindText(5, Text(figure->pszMetodo)).BindText(6, TimestampText(figure->stDataHora));
      insert.Bind(7, figure->i64Quantidade).Bind(8, figure->i64Total);
      insert.Bind(9, figure->i64Maior).Bind(10, figure->i64Menor).Bind(11, figure->ulUsuario);
      hr = insert.Run();
      if (FAILED(hr)) break;
    }
    return hr;
  });
}

class AnalyticsService : public IQXCR_Analytics {
 public:
  HRESULT Grava(uint32_t quantidade, const _REG_CR_ANALYTICSPS* registros) override {
    if (quantidade > 0 && registros == nullptr) return E_POINTER;
    std::map<std::string, std::vector<const _REG_CR_ANALYTICSPS*>> byCompany;
    for (uint32_t i = 0; i < quantidade; ++i) {
      byCompany[Text(registros[i].pszEmpresa)].push_back(&registros[i]);
    }
    HRESULT first = S_OK;
    for (const auto& [company, figures] : byCompany) {
      std::shared_ptr<SuiteDatabase> db;
      std::string message;
      HRESULT hr = OpenCompanyDatabase(company, &db, &message);
      if (SUCCEEDED(hr)) hr = StoreFigures(*db, figures);
      if (FAILED(hr) && SUCCEEDED(first)) first = hr;
    }
    return first;
  }
};

}  // namespace

CQXComPtr<IQXCR_Analytics> MakeAnalyticsService() { return std::make_unique<AnalyticsService>(); }

}  // namespace qx
