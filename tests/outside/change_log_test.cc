// The change log: records kept in order, the sessions of a user, and two
// processes appending at once.
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <map>
#include <set>
#include <thread>
#include <tuple>
#include <vector>

#include "../platform/test_support.h"
#include "outside/admin/company_admin.h"
#include "outside/business/qx_base_para_rotinas.h"
#include "outside/database/import_batches.h"
#include "outside/database/outside_codes.h"
#include "outside/database/sessions.h"
#include "outside_test_company.h"

namespace qx {
namespace {

using ChangeLogTest = OnBothBackends<OutsideTest>;
QX_ON_BOTH_BACKENDS(ChangeLogTest);

// Records kept in order with their bytes, and the keys of a user's sessions.
TEST_P(ChangeLogTest, RecordsKeepTheirOrderAndBytesAndSessionsTheirKeys) {
  MakeCompany();
  ASSERT_EQ(AdicionaUsuario(*Open(), {2, "OUTRO", {}}), S_OK);
  CQXBaseParaRotinas rotinas;
  ASSERT_EQ(rotinas.Inicializa(kTestCompany, 1, 0x5000), S_OK);
  CQXComPtr<IQXDF_Log> log = LogOf(rotinas);
  const char image[46] = {1, 2, 3, 0, 5};
  EXPECT_EQ(log->Grava(0x5000, 77, 24, 'I', sizeof image, image), S_OK);
  EXPECT_EQ(log->Grava(0x5000, 77, 8, 'I', 0, nullptr), S_OK);  // an empty complement
  EXPECT_EQ(log->Grava(0x5000, 3, 27, 'A', 4, "\xFF\0\x01\x02"), S_OK);
  EXPECT_EQ(log->Grava(0x5000, 1, 8, 'I', 4, nullptr), E_POINTER);

  std::vector<RegistroLog> records;
  ASSERT_EQ(LeLogAlteracoes(*Open(), &records), S_OK);
  std::vector<std::tuple<int32_t, char, int32_t, uint32_t, std::string>> stored;
  int64_t lastId = 0;
  for (const RegistroLog& r : records) {
    stored.emplace_back(r.tipo, r.servico, r.chave, r.sessao, r.dados);
    EXPECT_LT(std::exchange(lastId, r.id), r.id);
  }
  EXPECT_EQ(stored, (decltype(stored){{24, 'I', 77, 0x5000u, std::string(image, sizeof image)},
                                      {8, 'I', 77, 0x5000u, ""},
                                      {27, 'A', 3, 0x5000u, std::string("\xFF\0\x01\x02", 4)}}));

  // Sessions 0x5000 and 0x5001 share the key 5; 0x7000 has key 7.
  for (const auto& [user, session] :
       std::vector<std::pair<unsigned short, uint32_t>>{{1, 0x5001}, {2, 0x6000}, {1, 0x7000}}) {
    CQXBaseParaRotinas other;
    ASSERT_EQ(other.Inicializa(kTestCompany, user, session), S_OK);
  }
  uint32_t table[4] = {};
  EXPECT_EQ(log->BuscaPonteiros(4, table), E_QXDF_SEM_BUSCA);
  _REG_DF_FILTRO_LOGPS filtro{};
  filtro.usUsuario = 1;
  int32_t quantidade = -1;
  ASSERT_EQ(log->BuscaQuantidade(filtro, &quantidade), S_OK);
  ASSERT_EQ(quantidade, 2);
  ASSERT_EQ(log->BuscaPonteiros(quantidade, table), S_OK);
  EXPECT_EQ(std::vector<uint32_t>(table, table + 4), (std::vector<uint32_t>{5, 7, 0, 0}));
  EXPECT_EQ(log->BuscaPonteiros(-1, table), E_INVALIDARG);
  filtro.usUsuario = 3;  // a user without sessions
  ASSERT_EQ(log->BuscaQuantidade(filtro, &quantidade), S_OK);
  EXPECT_EQ(quantidade, 0);
}

// Appends count records tagged with process and their sequence number.
[[noreturn]] void AppendInChild(const std::string& company, uint8_t process, int count) {
  alarm(120);  // never outlive a stuck test
  CQXBaseParaRotinas rotinas;
  if (FAILED(rotinas.Inicializa(company.c_str(), 1, process))) _exit(2);
  CQXComPtr<IQXDF_Log> log;
  if (FAILED(rotinas.GetAcessoEmpresarial()->GetIDFLog(log))) _exit(3);
  for (int i = 0; i < count; ++i) {
    char data[5] = {static_cast<char>(process)};
    std::memcpy(data + 1, &i, sizeof i);
    if (FAILED(log->Grava(process, i, 24, 'I', sizeof data, data))) _exit(4);
  }
  _exit(0);
}

TEST_P(ChangeLogTest, TwoProcessesAppendingLoseNothingAndKeepTheirOrder) {
  MakeCompany();
  constexpr int kCount = 1000;
  std::vector<pid_t> children;
  for (uint8_t process = 1; process <= 2; ++process) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) AppendInChild(kTestCompany, process, kCount);
    children.push_back(child);
  }
  for (const pid_t child : children) {
    EXPECT_EQ(test::WaitChild(child, std::chrono::steady_clock::now() + std::chrono::seconds(150)),
              0);
  }

  std::vector<RegistroLog> records;
  ASSERT_EQ(LeLogAlteracoes(*Open(), &records), S_OK);
  ASSERT_EQ(records.size(), 2u * kCount);
  std::map<int, int> next;  // per process, the sequence number expected next
  for (const RegistroLog& record : records) {
    ASSERT_EQ(record.dados.size(), 5u);
    const int process = record.dados[0];
    int sequence = 0;
    std::memcpy(&sequence, record.dados.data() + 1, sizeof sequence);
    EXPECT_EQ(sequence, next[process]) << "process " << process;
    EXPECT_EQ(record.chave, sequence);
    next[process] = sequence + 1;
  }
  EXPECT_EQ(next, (std::map<int, int>{{1, kCount}, {2, kCount}}));
}

// Each workstation has a connection of its own: every batch goes to one of
// them, and no session number is handed out twice.
TEST_P(ChangeLogTest, BatchesAndSessionsAreHandedOutOnceAcrossConnections) {
  MakeCompany();
  constexpr uint32_t kLotes = 40;
  int reservados[2] = {};
  std::vector<uint32_t> sessoes[2];
  std::vector<std::thread> estacoes;
  for (int e = 0; e < 2; ++e) {
    estacoes.emplace_back([&, e] {
      const std::shared_ptr<SuiteDatabase> db = Open();
      for (uint32_t lote = 1; lote <= kLotes; ++lote) {
        const HRESULT hr = ReservaLoteImportacao(*db, lote);
        EXPECT_TRUE(hr == S_OK || hr == S_FALSE) << db->message();
        reservados[e] += hr == S_OK;
        uint32_t sessao = 0;
        EXPECT_EQ(NovaSessao(*db, 1, "TESTE", &sessao), S_OK) << db->message();
        sessoes[e].push_back(sessao);
      }
    });
  }
  for (std::thread& estacao : estacoes) estacao.join();
  EXPECT_EQ(reservados[0] + reservados[1], static_cast<int>(kLotes));
  std::set<uint32_t> todas(sessoes[0].begin(), sessoes[0].end());
  todas.insert(sessoes[1].begin(), sessoes[1].end());
  EXPECT_EQ(todas.size(), 2 * kLotes);
  EXPECT_GE(*todas.begin(), kPrimeiraSessaoReservada);
}

}  // namespace
}  // namespace qx
