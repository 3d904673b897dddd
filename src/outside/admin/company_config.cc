#include "outside/admin/company_config.h"

#include <string>
#include <string_view>

#include "outside/database/company_row.h"
#include "outside/database/dados_df.h"
#include "outside/database/sql_statement.h"
#include "values/calendar.h"
#include "values/text_format.h"

namespace qx {
namespace {

constexpr ConfigItem kItems[] = {
    {"exercicio", "year", "exercicio", ConfigKind::kNumber, 9999, "o ano do exercício"},
    {"inicio-exercicio", "period-start", "data_inicial", ConfigKind::kDate, 0, "o primeiro dia do exercício"},
    {"fim-exercicio", "period-end", "data_final", ConfigKind::kDate, 0, "o último dia do exercício"},
    {"inicio-exclusao", "removal-start", "data_inicial_permitida", ConfigKind::kDate, 0,
     "lançamentos importados podem ser excluídos deste dia ..."},
    {"fim-exclusao", "removal-end", "data_final_permitida", ConfigKind::kDate, 0, "... até este dia"},
    {"inicio-bloqueio", "blocked-start", "data_inicial_bloqueada", ConfigKind::kDate, 0,
     "a exclusão de importados é recusada deste dia ..."},
    {"fim-bloqueio", "blocked-end", "data_final_bloqueada", ConfigKind::kDate, 0, "... até este dia"},
    {"codigo-cliente", "client-code", "codigo_cliente", ConfigKind::kNumber, 65535, "o código de cliente da empresa"},
    {"modo-diferenca", "difference-mode", "modo_diferenca", ConfigKind::kNumber, 255,
     "como as diferenças entre débitos e créditos se agrupam"},
    {"diferenca-por-filial", "difference-per-branch", "diferenca_por_filial", ConfigKind::kFlag, 1,
     "as diferenças são guardadas por filial"},
    {"moeda-estrangeira", "foreign-currency", "moeda_estrangeira", ConfigKind::kFlag, 1,
     "guarda valores em moeda estrangeira"},
    {"quantidades-gerenciais", "managerial-quantities", "usa_quantidade_gerencial", ConfigKind::kFlag, 1,
     "guarda quantidades no rateio gerencial"},
    {"texto-historico", "history-text-kind", "tipo_texto_historico", ConfigKind::kNumber, 2,
     "o histórico nas listagens: 0 texto, 1 código e dígito, 2 abreviação"},
    {"gestao-documentos", "document-management", nullptr, ConfigKind::kFlag, 1, "a empresa usa a gestão de documentos"},
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
    if (name == item.name || name == item.alias) return &item;
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
    // A closed period set by hand was closed by no one the tools know.
    const bool periodo = std::string_view(item.column).ends_with("_bloqueada");
    const std::string sql = std::string("UPDATE empresa SET ") + item.column + " = ?" +
                            (periodo ? ", fechado_por = NULL, fechado_em = NULL" : "") +
                            " WHERE id = 1";
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
