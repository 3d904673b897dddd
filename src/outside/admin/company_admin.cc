#include "outside/admin/company_admin.h"

#include <functional>

#include "outside/database/outside_codes.h"
#include "outside/database/sql_statement.h"
#include "values/text_format.h"

namespace qx {
namespace {

HRESULT Invalid(SuiteDatabase& db, std::string message) {
  return db.Fail(E_INVALIDARG, std::move(message));
}

// One insert; a key that exists already is reported with what.
HRESULT Insert(SuiteDatabase& db, const char* sql, const std::function<void(SqlStatement&)>& bind,
               const std::string& what) {
  return db.Write([&] {
    SqlStatement insert(db, sql);
    bind(insert);
    const HRESULT hr = insert.Run();
    if (hr == E_QXDF_JA_EXISTE) return db.Fail(hr, what + " j\xE1 existe.");
    return hr;
  });
}

HRESULT Activate(SuiteDatabase& db, uint16_t usuario, int32_t filial) {
  return db.Write([&] {
    SqlStatement branch(db, "SELECT 1 FROM filiais WHERE numero = ?");
    HRESULT hr = branch.Bind(1, filial).StepOne();
    if (hr == S_FALSE) {
      return db.Fail(E_QXDF_REGISTRO_NAO_ENCONTRADO,
                     FormatText("A filial %d n\xE3o est\xE1 cadastrada.", filial));
    }
    if (FAILED(hr)) return hr;
    SqlStatement user(db, "SELECT 1 FROM usuarios WHERE numero = ?");
    hr = user.Bind(1, usuario).StepOne();
    if (hr == S_FALSE) {
      return db.Fail(E_QXDF_REGISTRO_NAO_ENCONTRADO,
                     FormatText("O usu\xE1rio %u n\xE3o est\xE1 cadastrado.", usuario));
    }
    if (FAILED(hr)) return hr;
    SqlStatement insert(db,
                        "INSERT INTO filiais_ativas (usuario, filial) VALUES (?, ?) "
                        "ON CONFLICT DO NOTHING");
    return insert.Bind(1, usuario).Bind(2, filial).Run();
  });
}

void NoParameters(SqlStatement&) {}

}  // namespace

HRESULT AdicionaFilial(SuiteDatabase& db, const FilialCadastro& filial) {
  if (filial.numero < 1 || filial.numero > 65535) {
    return Invalid(db, FormatText("Filial %d fora de 1 a 65535.", filial.numero));
  }
  return Insert(
      db, "INSERT INTO filiais (numero, nome) VALUES (?, ?)",
      [&](SqlStatement& s) { s.Bind(1, filial.numero).BindText(2, filial.nome); },
      FormatText("A filial %d", filial.numero));
}

HRESULT AdicionaUsuario(SuiteDatabase& db, const UsuarioCadastro& usuario) {
  return db.Write([&] {
    HRESULT hr = Insert(
        db, "INSERT INTO usuarios (numero, nome) VALUES (?, ?)",
        [&](SqlStatement& s) { s.Bind(1, usuario.numero).BindText(2, usuario.nome); },
        FormatText("O usu\xE1rio %u", usuario.numero));
    for (size_t i = 0; SUCCEEDED(hr) && i < usuario.filiaisAtivas.size(); ++i) {
      hr = Activate(db, usuario.numero, usuario.filiaisAtivas[i]);
    }
    return hr;
  });
}

HRESULT DefineFilialAtiva(SuiteDatabase& db, uint16_t usuario, int32_t filial, bool ativa) {
  if (ativa) return Activate(db, usuario, filial);
  return db.Write([&] {
    SqlStatement remove(db, "DELETE FROM filiais_ativas WHERE usuario = ? AND filial = ?");
    return remove.Bind(1, usuario).Bind(2, filial).Run();
  });
}

HRESULT AdicionaConta(SuiteDatabase& db, const ContaCadastro& conta) {
  if (conta.plano != 'C' && conta.plano != 'G') {
    return Invalid(db,
                   "O plano de contas deve ser C (cont\xE1"
                   "bil) ou G (gerencial).");
  }
  if (conta.tipo != 'T' && conta.tipo != 'A') {
    return Invalid(db, "O tipo da conta deve ser T (sint\xE9tica) ou A (anal\xEDtica).");
  }
  if (conta.conta < 1 || conta.contaSuperior < 0) {
    return Invalid(db, FormatText("Conta %d inv\xE1lida.", conta.conta));
  }
  return Insert(
      db,
      "INSERT INTO contas (plano, conta, conta_superior, classificacao, nome, tipo) "
      "VALUES (?, ?, ?, ?, ?, ?)",
      [&](SqlStatement& s) {
        s.BindText(1, std::string(1, conta.plano)).Bind(2, conta.conta);
        s.Bind(3, conta.contaSuperior).BindText(4, conta.classificacao).BindText(5, conta.nome);
        s.BindText(6, std::string(1, conta.tipo));
      },
      FormatText("A conta %d do plano %c", conta.conta, conta.plano));
}

HRESULT AdicionaHistorico(SuiteDatabase& db, const HistoricoCadastro& historico) {
  if (historico.codigo == 0)
    return Invalid(db,
                   "O c\xF3"
                   "digo do hist\xF3rico deve ser maior que 0.");
  return Insert(
      db, "INSERT INTO historicos (codigo, texto, abreviacao) VALUES (?, ?, ?)",
      [&](SqlStatement& s) {
        s.Bind(1, historico.codigo).BindText(2, historico.texto).BindText(3, historico.abreviacao);
      },
      FormatText("O hist\xF3rico %u", historico.codigo));
}

HRESULT DefineDocumentoBloqueado(SuiteDatabase& db, int32_t lChaveComposta, bool bloqueado) {
  return db.Write([&] {
    SqlStatement change(
        db, bloqueado ? "INSERT INTO ged_bloqueios (chave) VALUES (?) ON CONFLICT DO NOTHING"
                      : "DELETE FROM ged_bloqueios WHERE chave = ?");
    return change.Bind(1, lChaveComposta).Run();
  });
}

HRESULT ListaFiliais(SuiteDatabase& db, std::vector<FilialCadastro>* filiais) {
  filiais->clear();
  return ForEachRow(db, "SELECT numero, nome FROM filiais ORDER BY numero", NoParameters,
                    [&](const SqlStatement& row) {
                      filiais->push_back({static_cast<int32_t>(row.Int(0)), row.Text(1)});
                    });
}

HRESULT ListaUsuarios(SuiteDatabase& db, std::vector<UsuarioCadastro>* usuarios) {
  usuarios->clear();
  return ForEachRow(db,
                    "SELECT u.numero, u.nome, a.filial FROM usuarios u LEFT JOIN filiais_ativas a "
                    "ON a.usuario = u.numero ORDER BY u.numero, a.filial",
                    NoParameters, [&](const SqlStatement& row) {
                      const uint16_t numero = static_cast<uint16_t>(row.Int(0));
                      if (usuarios->empty() || usuarios->back().numero != numero) {
                        usuarios->push_back({numero, row.Text(1), {}});
                      }
                      const int32_t filial = static_cast<int32_t>(row.Int(2));
                      if (filial != 0) usuarios->back().filiaisAtivas.push_back(filial);
                    });
}

HRESULT ListaContas(SuiteDatabase& db, char plano, std::vector<ContaCadastro>* contas) {
  contas->clear();
  return ForEachRow(
      db,
      "SELECT plano, conta, conta_superior, classificacao, nome, tipo FROM contas "
      "WHERE ?1 = '' OR plano = ?1 ORDER BY plano, conta",
      [&](SqlStatement& s) {
        s.BindText(1, plano == '\0' ? std::string() : std::string(1, plano));
      },
      [&](const SqlStatement& row) {
        ContaCadastro conta;
        conta.plano = row.Text(0)[0];
        conta.conta = static_cast<int32_t>(row.Int(1));
        conta.contaSuperior = static_cast<int32_t>(row.Int(2));
        conta.classificacao = row.Text(3);
        conta.nome = row.Text(4);
        conta.tipo = row.Text(5)[0];
        contas->push_back(std::move(conta));
      });
}

HRESULT ListaHistoricos(SuiteDatabase& db, std::vector<HistoricoCadastro>* historicos) {
  historicos->clear();
  return ForEachRow(
      db, "SELECT codigo, texto, abreviacao FROM historicos ORDER BY codigo", NoParameters,
      [&](const SqlStatement& row) {
        historicos->push_back({static_cast<uint16_t>(row.Int(0)), row.Text(1), row.Text(2)});
      });
}

}  // namespace qx
