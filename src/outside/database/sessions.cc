#include "outside/database/sessions.h"

#include "outside/database/outside_codes.h"
#include "outside/database/sql_statement.h"
#include "platform/clock.h"
#include "values/qx_data.h"

namespace qx {
namespace {

int64_t Hoje() {
  const SYSTEMTIME now = CurrentDateTime();
  return CQXData::Make(now.wDay, now.wMonth, now.wYear).Value();
}

}  // namespace

HRESULT RegistraSessao(SuiteDatabase& db, uint32_t sessao, unsigned short usuario,
                       const std::string& aplicativo) {
  // A program that numbers its own sessions (qxcn) opens the same one over and
  // over: a row that already says it all is left alone, so that a session
  // that only reads writes nothing to the database.
  const int64_t hoje = Hoje();
  bool registrada = false;
  const HRESULT hr = db.Read([&] {
    SqlStatement select(db,
                        "SELECT 1 FROM sessoes WHERE sessao = ? AND usuario = ? AND "
                        "aplicativo = ? AND data = ?");
    select.Bind(1, sessao).Bind(2, usuario).BindText(3, aplicativo).Bind(4, hoje);
    const HRESULT achou = select.StepOne();
    registrada = achou == S_OK;
    return FAILED(achou) ? achou : S_OK;
  });
  if (FAILED(hr) || registrada) return hr;
  return db.Write([&] {
    SqlStatement insert(db,
                        "INSERT INTO sessoes (sessao, usuario, aplicativo, data) "
                        "VALUES (?, ?, ?, ?) ON CONFLICT (sessao) DO UPDATE SET "
                        "usuario = excluded.usuario, aplicativo = excluded.aplicativo, "
                        "data = excluded.data");
    insert.Bind(1, sessao).Bind(2, usuario).BindText(3, aplicativo).Bind(4, hoje);
    return insert.Run();
  });
}

HRESULT NovaSessao(SuiteDatabase& db, unsigned short usuario, const std::string& aplicativo,
                   uint32_t* sessao) {
  *sessao = 0;
  // Writers follow each other, and the key refuses a number taken twice.
  return db.Write([&] {
    SqlStatement insert(db,
                        "INSERT INTO sessoes (sessao, usuario, aplicativo, data) "
                        "SELECT CASE WHEN max(sessao) >= ?1 THEN max(sessao) + 1 ELSE ?1 END, "
                        "?2, ?3, ?4 FROM sessoes RETURNING sessao");
    insert.Bind(1, kPrimeiraSessaoReservada).Bind(2, usuario).BindText(3, aplicativo);
    const HRESULT hr = insert.Bind(4, Hoje()).StepOne();
    if (hr != S_OK) return FAILED(hr) ? hr : E_QXDF_BANCO_FALHA;
    if (insert.Int(0) > UINT32_MAX) {
      return db.Fail(E_QXDF_BANCO_FALHA, "Os n\xFAmeros de sess\xE3o se esgotaram.");
    }
    *sessao = static_cast<uint32_t>(insert.Int(0));
    return S_OK;
  });
}

}  // namespace qx
