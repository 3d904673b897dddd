#include "outside/company_config.h"

#include <string>

#include "outside/company_row.h"
#include "outside/dados_df.h"
#include "outside/sql_statement.h"
#include "values/calendar.h"
#include "values/text_format.h"

namespace qx {
namespace {

constexpr ConfigItem kItems[] = {
    {"year", "exercicio", ConfigKind::kNumber, 9999, "number (year) of the accounting period"},
    {"period-start", "data_inicial", ConfigKind::kDate, 0, "first day of the accounting period"},
    {"period-end", "data_final", ConfigKind::kDate, 0, "last day of the accounting period"},
    {"removal-start", "data_inicial_permitida", ConfigKind::kDate, 0,
     "imported entries may be removed from this day ..."},
    {"removal-end", "data_final_permitida", ConfigKind::kDate, 0, "... up to this day"},
    {"blocked-start", "data_inicial_bloqueada", ConfigKind::kDate, 0,
     "removal of imported entries is refused from this day ..."},
    {"blocked-end", "data_final_bloqueada", ConfigKind::kDate, 0, "... up to this day"},
    {"client-code", "codigo_cliente", ConfigKind::kNumber, 65535, "the company's client code"},
    {"difference-mode", "modo_diferenca", ConfigKind::kNumber, 255,
     "grouping of the debit/credit differences"},
    {"difference-per-branch", "diferenca_por_filial", ConfigKind::kFlag, 1,
     "differences are kept per branch"},
    {"foreign-currency", "moeda_estrangeira", ConfigKind::kFlag, 1,
     "foreign-currency amounts are kept"},
    {"managerial-quantities", "usa_quantidade_gerencial", ConfigKind::kFlag, 1,
     "managerial quantities are kept"},
    {"history-text-kind", "tipo_texto_historico", ConfigKind::kNumber, 2,
     "history code in listings: 0 text, 1 code and check digit, 2 short name"},
    {"document-management", nullptr, ConfigKind::kFlag, 1, "the company uses document management"},
};

bool InRange(const ConfigItem& item, int64_t value) {
  switch (item.kind) {
    case ConfigKind::kFlag:
      return value == 0 || value == 1;
    case ConfigKind::kDate:
      return value == 0 || IsValidDayNumber(static_cast<uint32_t>(value));
    case ConfigKind::kNumber:
      return value >= 0 && value <= item.max;
  }
  return false;
}

}  // namespace

std::span<const ConfigItem> ConfigItems() { return kItems; }

const ConfigItem* FindConfigItem(std::string_view name) {
  for (const ConfigItem& item : kItems) {
    if (name == item.name) return &item;
  }
  return nullptr;
}

HRESULT SetConfig(SuiteDatabase& db, const ConfigItem& item, int64_t value) {
  if (!InRange(item, value) || value > UINT32_MAX) {
    return db.Fail(E_INVALIDARG, FormatText("Valor %lld fora do permitido para \"%s\".",
                                            static_cast<long long>(value), item.name));
  }
  return db.Write([&] {
    if (item.column == nullptr) {
      SqlStatement change(db, value != 0
                                  ? "INSERT INTO tipos_sistemas VALUES (?) ON CONFLICT DO NOTHING"
                                  : "DELETE FROM tipos_sistemas WHERE sigla = ?");
      return change.BindText(1, kSistemaGED).Run();
    }
    const std::string sql = std::string("UPDATE empresa SET ") + item.column + " = ? WHERE id = 1";
    SqlStatement update(db, sql.c_str());
    return update.Bind(1, value).Run();
  });
}

HRESULT GetConfig(SuiteDatabase& db, const ConfigItem& item, int64_t* value) {
  *value = 0;
  if (item.column == nullptr) {
    return db.Read([&] {
      SqlStatement query(db, "SELECT 1 FROM tipos_sistemas WHERE sigla = ?");
      const HRESULT hr = query.BindText(1, kSistemaGED).StepOne();
      *value = hr == S_OK ? 1 : 0;
      return FAILED(hr) ? hr : S_OK;
    });
  }
  return ReadCompanyRow(db, item.column, [&](const SqlStatement& row) { *value = row.Int(0); });
}

}  // namespace qx
