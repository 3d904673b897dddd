#include "outside/sessions.h"

#include "outside/sql_statement.h"
#include "platform/clock.h"
#include "values/qx_data.h"

namespace qx {

HRESULT RegistraSessao(SuiteDatabase& db, uint32_t sessao, unsigned short usuario,
                       const std::string& aplicativo) {
  const SYSTEMTIME now = CurrentDateTime();
  const CQXData today = CQXData::Make(now.wDay, now.wMonth, now.wYear);
  return db.Write([&] {
    SqlStatement insert(db,
                        "INSERT OR REPLACE INTO sessoes (sessao, usuario, aplicativo, data) "
                        "VALUES (?, ?, ?, ?)");
    insert.Bind(1, sessao).Bind(2, usuario).BindText(3, aplicativo).Bind(4, today.Value());
    return insert.Run();
  });
}

}  // namespace qx
