// Reading back what the change log and document management have stored.
#include "outside/admin/company_admin.h"
#include "outside/change_log/change_log_store.h"
#include "outside/database/sql_statement.h"

namespace qx {

HRESULT LeLogAlteracoes(SuiteDatabase& db, std::vector<RegistroLog>* registros) {
  registros->clear();
  return LeRegistros(db, 0, INT64_MAX, [&](RegistroLog&& registro) {
    registros->push_back(std::move(registro));
    return true;
  });
}

HRESULT LeNotificacoesGed(SuiteDatabase& db, std::vector<NotificacaoGed>* notificacoes) {
  notificacoes->clear();
  return ForEachRow(
      db,
      "SELECT id, sessao, usuario, operacao, chave, descricao_nova, filial_nova, data_nova, "
      "documento_novo, descricao_antiga, filial_antiga, data_antiga, documento_antigo "
      "FROM ged_notificacoes ORDER BY id",
      [](SqlStatement&) {},
      [&](const SqlStatement& row) {
        NotificacaoGed n;
        n.id = row.Int(0);
        n.sessao = static_cast<uint32_t>(row.Int(1));
        n.usuario = static_cast<uint16_t>(row.Int(2));
        n.operacao = row.Text(3)[0];
        n.chave = static_cast<int32_t>(row.Int(4));
        n.descricaoNova = row.Text(5);
        n.filialNova = static_cast<uint16_t>(row.Int(6));
        n.dataNova = static_cast<uint32_t>(row.Int(7));
        n.documentoNovo = static_cast<int32_t>(row.Int(8));
        n.descricaoAntiga = row.Text(9);
        n.filialAntiga = static_cast<uint16_t>(row.Int(10));
        n.dataAntiga = static_cast<uint32_t>(row.Int(11));
        n.documentoAntigo = static_cast<int32_t>(row.Int(12));
        notificacoes->push_back(std::move(n));
      });
}

}  // namespace qx
