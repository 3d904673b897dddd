// The change log as events: how records group into events, the migration of
// a database the previous schema wrote, ids that stay increasing, and every
// filter answered through its index exactly as a scan of all events would.
#include <sqlite3.h>

#include <cstdio>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "outside/admin/company_admin.h"
#include "outside/business/qx_base_para_rotinas.h"
#include "outside/change_log/change_log_query.h"
#include "outside/change_log/change_log_store.h"
#include "outside/change_log/reg_lan_atual.h"
#include "outside/database/sql_statement.h"
#include "outside/peers/service_factories.h"
#include "outside_test_company.h"
#include "storage/records/entry_records.h"
#include "values/qx_data.h"
#include "values/qx_dmcps.h"
#include "values/qx_mes_ano.h"

namespace qx {
namespace {

// The bytes of an entry image of `data` whose origin is import batch `lote`
// (0: no origin).
std::string Imagem(CQXData data, uint32_t lote = 0) {
  RegLanAtual imagem{};
  imagem.Data = data.Value();
  imagem.Valor.int64 = 1000000;
  if (lote != 0) imagem.lChaveModulo = MakeChaveModulo(lote, kImportModule);
  return std::string(reinterpret_cast<const char*>(&imagem), sizeof imagem);
}

const CQXData kMarco = CQXData::Make(15, 3, 2024);
const uint16_t kMesMarco = kMarco.MesAno().Value();

// A record as "type letter key session", e.g. {24, 'I', 1, 1}.
using Linha = std::tuple<int32_t, char, int32_t, uint32_t>;

// Each event the records group into, as "kind id:records".
std::vector<std::string> Agrupa(const std::vector<Linha>& linhas) {
  std::vector<std::string> eventos;
  AgrupaEventos grupos([&](EventoLog&& e) {
    eventos.push_back(std::string(1, e.tipo) + std::to_string(e.id) + ":" +
                      std::to_string(e.registros.size()));
  });
  int64_t id = 0;
  for (const Linha& l : linhas) {
    RegistroLog r;
    std::tie(r.tipo, r.servico, r.chave, r.sessao) = l;
    r.id = ++id;
    if (r.tipo == kLogTipoLancamento) r.dados = Imagem(kMarco);
    grupos.Recebe(std::move(r));
  }
  grupos.Termina();
  return eventos;
}

TEST(ChangeLogEvents, RecordsGroupIntoTheSavesThatSentThem) {
  const struct {
    const char* caso;
    std::vector<Linha> linhas;
    std::vector<std::string> eventos;
  } casos[] = {
      {"new entry with split", {{24, 'I', 1, 1}, {8, 'I', 1, 1}, {27, 'I', 5, 1}}, {"I1:3"}},
      {"update replacing a split",
       {{24, 'a', 1, 1},
        {8, 'a', 1, 1},
        {27, 'a', 5, 1},
        {24, 'A', 1, 1},
        {8, 'A', 1, 1},
        {27, 'A', 6, 1}},
       {"A1:6"}},
      {"removal", {{24, 'E', 1, 1}, {8, 'E', 1, 1}}, {"E1:2"}},
      {"update undone, then a save",
       {{24, 'a', 1, 1}, {8, 'a', 1, 1}, {24, 'I', 2, 1}},
       {"A1:2", "I3:1"}},
      {"after image alone", {{24, 'A', 1, 1}, {8, 'A', 1, 1}}, {"A1:2"}},
      {"after image of another entry", {{24, 'a', 1, 1}, {24, 'A', 2, 1}}, {"A1:1", "A2:1"}},
      {"second after image", {{24, 'a', 1, 1}, {24, 'A', 1, 1}, {24, 'A', 1, 1}}, {"A1:2", "A3:1"}},
      {"after image of another session", {{24, 'a', 1, 1}, {24, 'A', 1, 2}}, {"A1:1", "A2:1"}},
      {"another session's record ends an event",
       {{24, 'I', 1, 1}, {8, 'I', 1, 2}, {8, 'I', 1, 1}},
       {"I1:1"}},
      {"records before any image", {{8, 'I', 1, 1}, {27, 'I', 4, 1}, {24, 'I', 1, 1}}, {"I3:1"}},
  };
  for (const auto& c : casos) EXPECT_EQ(Agrupa(c.linhas), c.eventos) << c.caso;
}

class ChangeLogHistoryTest : public OutsideTest {
 protected:
  // Writes the records of one save of session `sessao` in one call.
  static void Grava(IQXDF_Log& log, uint32_t sessao, const std::vector<::RegistroLog>& registros) {
    std::vector<HRESULT> resultados(registros.size());
    log.GravaVarios(sessao, registros.data(), registros.size(), resultados.data());
    for (const HRESULT hr : resultados) ASSERT_EQ(hr, S_OK);
  }
  static ::RegistroLog Registro(int32_t tipo, char servico, int32_t chave,
                                const std::string& dados) {
    return {chave, tipo, servico, static_cast<uint32_t>(dados.size()), dados.data()};
  }
  static std::vector<int64_t> Ids(const std::vector<EventoLog>& eventos) {
    std::vector<int64_t> ids;
    for (const EventoLog& e : eventos) ids.push_back(e.id);
    return ids;
  }
  std::vector<EventoLog> Lista(const FiltroEventos& filtro) {
    std::vector<EventoLog> eventos;
    const std::shared_ptr<SuiteDatabase> db = Open();
    EXPECT_EQ(db->Read([&] { return ConsultaLog(*db).ListaEventos(filtro, &eventos); }), S_OK)
        << db->message();
    return eventos;
  }
};

TEST_F(ChangeLogHistoryTest, ADatabaseOfThePreviousSchemaIsMigratedWithNothingLost) {
  const std::string path = registry_.dir() + "/anterior.db";
  sqlite3* antigo = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &antigo), SQLITE_OK);
  // The change log's tables as version 1 of the schema made them, beside
  // the company row that later steps change.
  ASSERT_EQ(sqlite3_exec(antigo, R"sql(
    CREATE TABLE empresa (id INTEGER PRIMARY KEY);
    CREATE TABLE sessoes (sessao INTEGER PRIMARY KEY, usuario INTEGER NOT NULL,
                          aplicativo TEXT NOT NULL DEFAULT '', data INTEGER NOT NULL);
    CREATE TABLE log_alteracoes (id INTEGER PRIMARY KEY AUTOINCREMENT, sessao INTEGER NOT NULL,
      chave INTEGER NOT NULL, tipo INTEGER NOT NULL, servico TEXT NOT NULL, dados BLOB NOT NULL,
      gravado_em TEXT NOT NULL);
    INSERT INTO sessoes VALUES (20480, 1, 'qxcn', 0), (24576, 2, 'qxcn', 0);
    PRAGMA user_version = 1;)sql",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  const std::string marca = "PRAGMA application_id = " + std::to_string(kSuiteApplicationId);
  ASSERT_EQ(sqlite3_exec(antigo, marca.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
  const struct {
    int sessao, chave, tipo;
    const char* servico;
    std::string dados;
  } linhas[] = {
      {20480, 1, 24, "I", Imagem(kMarco, 7)},
      {20480, 1, 8, "I", "Aluguel"},
      {20480, 3, 27, "I", std::string(20, '\x01')},
      {24576, 1, 24, "a", Imagem(kMarco, 7)},
      {24576, 1, 8, "a", "Aluguel de mar\xE7o"},
      {24576, 1, 24, "A", Imagem(kMarco, 7)},
      {24576, 1, 8, "A", "Aluguel de mar\xE7o"},
      {20480, 2, 24, "E", Imagem(kMarco)},
      {20480, 2, 8, "E", ""},
      {20480, 9, 24, "I", Imagem(kMarco)},
  };
  std::string inserts;
  for (const auto& l : linhas) {
    std::string hex;
    char byte[3];
    for (const unsigned char c : l.dados) hex.append(byte, std::snprintf(byte, 3, "%02x", c));
    inserts +=
        "INSERT INTO log_alteracoes (sessao, chave, tipo, servico, dados, gravado_em) "
        "VALUES (" +
        std::to_string(l.sessao) + ", " + std::to_string(l.chave) + ", " + std::to_string(l.tipo) +
        ", '" + l.servico + "', x'" + hex + "', '2024-03-15 10:00:00.000');";
  }
  ASSERT_EQ(sqlite3_exec(antigo, inserts.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
  // The newest record is gone: AUTOINCREMENT never gives its id again.
  ASSERT_EQ(
      sqlite3_exec(antigo, "DELETE FROM log_alteracoes WHERE id = 10", nullptr, nullptr, nullptr),
      SQLITE_OK);
  sqlite3_close(antigo);

  std::shared_ptr<SuiteDatabase> db;
  std::string message;
  ASSERT_EQ(SuiteDatabase::Open(path, SuiteDatabase::Mode::kExisting, &db, &message), S_OK)
      << message;
  std::vector<RegistroLog> registros;
  ASSERT_EQ(LeLogAlteracoes(*db, &registros), S_OK);
  ASSERT_EQ(registros.size(), 9u);
  for (size_t i = 0; i < registros.size(); ++i) {
    const RegistroLog& r = registros[i];
    EXPECT_EQ(std::tuple(r.id, r.sessao, r.chave, r.tipo, std::string(1, r.servico), r.dados,
                         r.gravadoEm),
              std::tuple(static_cast<int64_t>(i + 1), static_cast<uint32_t>(linhas[i].sessao),
                         linhas[i].chave, linhas[i].tipo, std::string(linhas[i].servico),
                         linhas[i].dados, std::string("2024-03-15 10:00:00.000")));
  }
  EXPECT_EQ(Scalar(*db,
                   "SELECT count(*) FROM sqlite_schema WHERE name = 'log_alteracoes' AND "
                   "sql LIKE '%AUTOINCREMENT%'"),
            0);

  std::vector<EventoLog> eventos;
  ASSERT_EQ(db->Read([&] { return ConsultaLog(*db).ListaEventos({}, &eventos); }), S_OK);
  std::vector<std::tuple<int64_t, char, std::optional<uint16_t>, uint16_t, int32_t, uint32_t>>
      vistos;
  for (const EventoLog& e : eventos) {
    vistos.emplace_back(e.id, e.tipo, e.usuario, e.mes, e.posicao, e.lote);
  }
  EXPECT_EQ(vistos, (decltype(vistos){{1, 'I', 1, kMesMarco, 1, 7},
                                      {4, 'A', 2, kMesMarco, 1, 7},
                                      {8, 'E', 1, kMesMarco, 2, 0}}));
  // A record written now comes after the deleted one.
  ASSERT_EQ(MakeChangeLog(db, 1)->Grava(1, 1, 8, 'I', 0, nullptr), S_OK);
  EXPECT_EQ(Scalar(*db, "SELECT max(id) FROM log_alteracoes"), 11);
}

using ChangeLogOrderTest = OnBothBackends<ChangeLogHistoryTest>;
QX_ON_BOTH_BACKENDS(ChangeLogOrderTest);

TEST_P(ChangeLogOrderTest, EveryFilterFindsThroughItsIndexWhatAScanFinds) {
  MakeCompany();
  ASSERT_EQ(AdicionaUsuario(*Open(), {2, "OUTRO", {1}}), S_OK);
  const struct {
    uint16_t usuario;
    uint32_t sessao;
  } identidades[] = {{1, 0x5000}, {2, 0x6000}, {1, 0x7000}};
  // 150 saves of three records, over three months and a batch: about half
  // filed, the rest still waiting; a check every 10 saves.
  for (int i = 0; i < 150; ++i) {
    const auto& id = identidades[i % 3];
    CQXBaseParaRotinas rotinas;
    ASSERT_EQ(rotinas.Inicializa(kTestCompany, id.usuario, id.sessao), S_OK);
    CQXComPtr<IQXDF_Log> log = LogOf(rotinas);
    const CQXData data = CQXData::Make(10, 3 + i % 3, 2024);
    const std::string imagem = Imagem(data, i % 5 == 0 ? 9 : 0);
    const char letra = i % 4 == 0 ? 'E' : 'I';
    Grava(*log, id.sessao,
          {Registro(24, letra, i % 20 + 1, imagem), Registro(8, letra, i % 20 + 1, "texto"),
           Registro(27, letra, i + 100, std::string(20, '\0'))});
    if (i % 10 == 0) {
      ASSERT_EQ(log->GravaConferencia(id.sessao, data.MesAno().Value(), i % 20 + 1, 0, 0, 1), S_OK);
    }
  }
  const std::shared_ptr<SuiteDatabase> db = Open();
  MarcasLog marcas;
  ASSERT_EQ(LeMarcasLog(*db, &marcas), S_OK);
  ASSERT_GT(marcas.indexadoAte, 0);
  ASSERT_LT(marcas.indexadoAte, Scalar(*db, "SELECT max(id) FROM log_alteracoes"));

  const std::vector<EventoLog> todos = Lista({});
  ASSERT_EQ(todos.size(), 165u);
  // The record events are those the records group into.
  std::vector<RegistroLog> registros;
  ASSERT_EQ(LeLogAlteracoes(*db, &registros), S_OK);
  std::vector<int64_t> agrupados;
  AgrupaEventos grupos([&](EventoLog&& e) { agrupados.push_back(e.id); });
  for (RegistroLog& r : registros) grupos.Recebe(std::move(r));
  grupos.Termina();
  std::vector<int64_t> gravacoes;
  for (const EventoLog& e : todos) {
    if (e.tipo != kEventoConferido) gravacoes.push_back(e.id);
  }
  EXPECT_EQ(gravacoes, agrupados);

  const std::string meio = todos[60].gravadoEm, fim = todos[120].gravadoEm;
  const uint16_t abril = CQXData::Make(1, 4, 2024).MesAno().Value();
  using F = FiltroEventos&;
  const std::function<void(F)> ajustes[] = {
      [&](F f) { f.mes = abril; },
      [&](F f) { f.mes = abril, f.posicao = 5; },
      [&](F f) { f.lote = 9; },
      [&](F f) { f.sessao = 0x6000; },
      [&](F f) { f.de = meio, f.ate = fim; },
      [&](F f) { f.de = fim; },
      [&](F f) { f.tipos = "EC"; },
      [&](F f) { f.usuario = 1; },
      [&](F f) { f.usuario = 2, f.tipos = "I", f.ate = fim; },
      [&](F f) { f.mes = abril, f.antesDe = todos[100].id; },
  };
  for (size_t k = 0; k < std::size(ajustes); ++k) {
    FiltroEventos filtro;
    ajustes[k](filtro);
    std::vector<EventoLog> esperados;
    for (const EventoLog& e : todos) {
      if (Admite(filtro, e)) esperados.push_back(e);
    }
    EXPECT_FALSE(esperados.empty()) << "filter " << k;
    EXPECT_EQ(Ids(Lista(filtro)), Ids(esperados)) << "filter " << k;
  }

  // Filed from the records a commit held, the events are those that filing
  // the records read back gives.
  ASSERT_EQ(db->Write([&] {
    return db->Execute(
        "DELETE FROM log_eventos WHERE ultimo IS NOT NULL; "
        "UPDATE log_controle SET indexado_ate = 0, ultimo_evento = 0");
  }),
            S_OK);
  ASSERT_EQ(IndexaEventos(*db), S_OK) << db->message();
  const auto campos = [](const EventoLog& e) {
    return std::tuple(e.id, e.tipo, e.sessao, e.usuario, e.mes, e.posicao, e.lote, e.gravadoEm,
                      e.ultimo, e.anterior, e.resumo);
  };
  const std::vector<EventoLog> refeitos = Lista({});
  ASSERT_EQ(refeitos.size(), todos.size());
  for (size_t k = 0; k < todos.size(); ++k) EXPECT_EQ(campos(refeitos[k]), campos(todos[k])) << k;
}

}  // namespace
}  // namespace qx
