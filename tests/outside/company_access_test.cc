// The business base, its last error and its company reads against a real
// suite database, and the creation of companies: a seed that fails leaves
// nothing behind, existing data is never overwritten.
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "outside/admin/company_admin.h"
#include "outside/admin/company_config.h"
#include "outside/admin/company_registration.h"
#include "outside/admin/periodo_fechado.h"
#include "outside/business/qx_base_para_rotinas.h"
#include "outside/business/qx_ultimo_erro.h"
#include "outside/database/conexao_plano.h"
#include "outside/database/import_batches.h"
#include "outside/database/naturezas.h"
#include "outside/database/outside_codes.h"
#include "outside/database/sessions.h"
#include "outside/database/sql_statement.h"
#include "outside/peers/gd_integracao.h"
#include "outside_test_company.h"
#include "values/qx_data.h"

namespace qx {
namespace {

class Rotinas : public CQXBaseParaRotinas {
 public:
  int finalizacoes = 0;

 protected:
  void OnFinaliza() override {
    ++finalizacoes;
    CQXBaseParaRotinas::OnFinaliza();
  }
};

using CompanyAccessTest = OnBothBackends<OutsideTest>;
QX_ON_BOTH_BACKENDS(CompanyAccessTest);
using CompanyCreationTest = OutsideTest;

// The identity, the default access of the thread, and Finaliza run once.
TEST_P(CompanyAccessTest, InitialisationFixesTheIdentityAndTheThreadsDefault) {
  MakeCompany();
  Rotinas rotinas;
  EXPECT_EQ(rotinas.GetRegistroInicializacao(), nullptr);
  _REG_DF_INICIALIZAPS record{};
  std::strcpy(record.szEmpresa, kTestCompany);
  std::strcpy(record.szAplicativo, "TESTE");
  record.ulUsuario = 0x10001;
  record.ulNumeroSessao = 0x5000;
  ASSERT_EQ(rotinas.Inicializa(record), S_OK);
  EXPECT_TRUE(rotinas.EstaInicializado());
  EXPECT_EQ(rotinas.GetUsuario(), 1);  // the low 16 bits
  EXPECT_STREQ(rotinas.GetEmpresaErroVirtual(), kTestCompany);
  ASSERT_NE(rotinas.GetRegistroInicializacao(), nullptr);
  EXPECT_EQ(std::memcmp(rotinas.GetRegistroInicializacao(), &record, sizeof record), 0);

  CQXBaseParaRotinas::SetAcessoDefault(&rotinas);
  EXPECT_EQ(CQXBaseParaRotinas::GetAcessoServidoresDefault(), &rotinas);
  CQXBaseParaRotinas* seenByOther = &rotinas;
  std::thread([&] { seenByOther = CQXBaseParaRotinas::GetAcessoServidoresDefault(); }).join();
  EXPECT_EQ(seenByOther, nullptr);
  _REG_DF_FUNCAO_GENERICAPS entrada{}, saida{};
  _REG_DF_FUNCAO_GENERICAPS* pSaida = &saida;
  EXPECT_EQ(rotinas.FuncaoGenerica(1, entrada, &pSaida), E_NOTIMPL);
  EXPECT_EQ(pSaida, nullptr);
  {  // a destroyed object never stays the default
    CQXBaseParaRotinas temporario;
    CQXBaseParaRotinas::SetAcessoDefault(&temporario);
  }
  EXPECT_EQ(CQXBaseParaRotinas::GetAcessoServidoresDefault(), nullptr);

  // A second initialisation finalises the first.
  ASSERT_EQ(rotinas.Inicializa(kTestCompany, 1, 7), S_OK);
  EXPECT_EQ(rotinas.GetRegistroInicializacao(), nullptr);
  EXPECT_EQ(rotinas.finalizacoes, 1);
  rotinas.Finaliza();
  rotinas.Finaliza();
  EXPECT_EQ(rotinas.finalizacoes, 2);
  EXPECT_FALSE(rotinas.EstaInicializado());
  CQXComPtr<IQXDF_Log> log;
  EXPECT_EQ(rotinas.GetAcessoEmpresarial()->GetIDFLog(log), E_QXDF_NAO_INICIALIZADO);
  EXPECT_EQ(log, nullptr);
}

TEST_P(CompanyAccessTest, CompanyReadsAndConfigurationRecordsAnswerFromTheDatabase) {
  MakeCompany();
  CQXBaseParaRotinas rotinas;
  ASSERT_EQ(rotinas.Inicializa(kTestCompany, 1, 0x3000), S_OK);
  CQXAcessoEmpresarial* acesso = rotinas.GetAcessoEmpresarial();

  CQXDadosDF_FiliaisAtivas filiais;
  ASSERT_EQ(acesso->LeFiliaisAtivas(1, &filiais, 0), S_OK);
  // Branch 3 exists, but is not active for the user.
  EXPECT_EQ((std::vector<bool>{filiais.EhFilialAtiva(1) != 0, filiais.EhFilialAtiva(2) != 0,
                               filiais.EhFilialAtiva(3) != 0, filiais.EhFilialAtiva(0) != 0}),
            (std::vector<bool>{true, true, false, false}));

  // An unknown user has no branch, and the failure is kept as the last error.
  EXPECT_EQ(acesso->LeFiliaisAtivas(99, &filiais, 0), E_QXDF_REGISTRO_NAO_ENCONTRADO);
  EXPECT_EQ(filiais.EhFilialAtiva(1), 0);
  EXPECT_EQ(rotinas.GetUltimoHR(), E_QXDF_REGISTRO_NAO_ENCONTRADO);
  EXPECT_EQ(rotinas.GetNumeroServidorUltimoHR(), kNumeroServidorDadosDF);
  EXPECT_NE(rotinas.GetErro().strMensagem.find("99"), std::string::npos);
  EXPECT_EQ(rotinas.GetErro().strEmpresa, kTestCompany);

  CQXDadosDF_Propriedades propriedades;
  ASSERT_EQ(acesso->LePropriedades(&propriedades, 0), S_OK);
  EXPECT_EQ(propriedades.GetCodigo(), kTestCompany);
  EXPECT_EQ(propriedades.GetNome(), "Empresa Demonstra\xE7\xE3o Ltda");
  EXPECT_NE(propriedades.GetUsaQuantidadeGerencial(), 0);

  CQXDadosDF_TiposSistemas tipos;
  ASSERT_EQ(acesso->LeBufferTiposSistemas(&tipos, 0), S_OK);
  EXPECT_NE(tipos.GetPossuiTarvoGED(), 0);

  EXPECT_EQ(acesso->LePropriedades(nullptr, 0), E_POINTER);
  EXPECT_EQ(acesso->LePropriedades(&propriedades, 1), E_INVALIDARG);

  {
    auto db = Open();
    const std::pair<const char*, int64_t> settings[] = {
        {"client-code", 4242},    {"removal-start", 70000},   {"blocked-end", 70100},
        {"foreign-currency", 1},  {"difference-mode", 3},     {"difference-per-branch", 1},
        {"history-text-kind", 2}, {"document-management", 0}, {"managerial-quantities", 0}};
    for (const auto& [name, value] : settings) {
      ASSERT_EQ(SetConfig(*db, *FindConfigItem(name), value), S_OK) << name;
    }
    EXPECT_EQ(SetConfig(*db, *FindConfigItem("history-text-kind"), 3), E_INVALIDARG);
    EXPECT_EQ(SetConfig(*db, *FindConfigItem("period-end"), 5000000), E_INVALIDARG);
    EXPECT_EQ(FindConfigItem("no-such-value"), nullptr);
  }
  // The configuration as set, at its offsets in the records.
  ASSERT_EQ(rotinas.Inicializa(kTestCompany, 1, 1), S_OK);
  ASSERT_EQ(rotinas.GetAcessoEmpresarial()->LeBufferTiposSistemas(&tipos, 0), S_OK);
  EXPECT_EQ(tipos.GetPossuiTarvoGED(), 0);
  ASSERT_EQ(rotinas.GetAcessoEmpresarial()->LePropriedades(&propriedades, 0), S_OK);
  EXPECT_EQ(propriedades.GetUsaQuantidadeGerencial(), 0);
  CQXComPtr<IQXCN_Mestre> mestre;
  ASSERT_EQ(rotinas.GetAcessoContabil()->GetICNMestre(mestre), S_OK);

  _REG_CN_CONFIGURACAOPS configuracao;
  std::memset(&configuracao, 0xAB, sizeof configuracao);
  ASSERT_EQ(mestre->LeConfiguracao(&configuracao), S_OK);
  const auto word = [&](size_t offset) { return At<uint32_t>(configuracao, offset); };
  EXPECT_EQ(std::tuple(word(4), word(8), word(12), word(16), word(24)),
            std::tuple(CQXData::Make(1, 1, kTestYear).Value(),
                       CQXData::Make(31, 12, kTestYear).Value(), 70000u, 0u, 70100u));
  EXPECT_EQ(At<uint16_t>(configuracao, 32), 4242);
  EXPECT_EQ(At<uint8_t>(configuracao, 103), 0);  // zeroed first

  _REG_CN_CONFIGURACAO_COMPLEMENTARPS complementar;
  std::memset(&complementar, 0xAB, sizeof complementar);
  ASSERT_EQ(mestre->LeConfiguracaoComplementar(&complementar), S_OK);
  EXPECT_EQ(std::tuple(At<uint32_t>(complementar, 836), At<uint8_t>(complementar, 868),
                       At<uint8_t>(complementar, 869), At<uint8_t>(complementar, 0)),
            std::tuple(1u, 3, 1, 0));

  CQXComPtr<IQXCN_Historico> historico;
  ASSERT_EQ(rotinas.GetAcessoEmpresarial()->GetIDFHistorico(historico), S_OK);
  _REG_CN_HISTORICO_CONFIGURACAOPS historicoCfg;
  ASSERT_EQ(historico->LeConfiguracao(&historicoCfg), S_OK);
  EXPECT_EQ(At<uint8_t>(historicoCfg, 0), 2);
}

TEST_P(CompanyAccessTest, ChartAndHistoryConnectionsReadOneRecord) {
  MakeCompany();
  CConexaoPlanoContabil contabil;
  CConexaoPlanoGerencial gerencial;
  CConexaoHistorico historicos;
  _RegContaPS conta;
  EXPECT_EQ(contabil.Le(4, &conta), E_QXDF_NAO_INICIALIZADO);
  EXPECT_EQ(contabil.Inicializa(kTestCompany, 1, 1, '1', '0'), E_INVALIDARG);
  ASSERT_EQ(contabil.Inicializa(kTestCompany, 1, 1, '0', '0'), S_OK);
  ASSERT_EQ(gerencial.Inicializa(kTestCompany, 1, 1, '0', '0'), S_OK);
  ASSERT_EQ(historicos.Inicializa(kTestCompany, 1, 1), S_OK);

  ASSERT_EQ(contabil.Le(4, &conta), S_OK);
  EXPECT_EQ(std::tuple(At<int32_t>(conta, 0), std::string(conta.szClassificacao),
                       At<char>(conta, 182), std::string(conta.szNome), conta.usNivel),
            std::tuple(4, "1.1.01.001", 'A', "Caixa", 4));
  ASSERT_EQ(contabil.Le(3, &conta), S_OK);
  EXPECT_EQ(At<char>(conta, 182), 'T');
  ASSERT_EQ(gerencial.Le(2, &conta), S_OK);
  EXPECT_STREQ(conta.szClassificacao, "1.01");

  // Unknown codes: a failure while messages are treated, else S_FALSE and a
  // zero record.
  EXPECT_EQ(contabil.Le(999, &conta), E_QXDF_REGISTRO_NAO_ENCONTRADO);
  contabil.SetTrataErros(false);
  contabil.SetTratarMensagens(false);
  EXPECT_EQ(contabil.Le(999, &conta), S_FALSE);
  EXPECT_EQ(std::tuple(conta.lConta, conta.cTipo), std::tuple(0, '\0'));

  _RegHistoricoPS historico;
  ASSERT_EQ(historicos.Le(3, &historico), S_OK);
  EXPECT_STREQ(reinterpret_cast<const char*>(&historico) + 6, "Transfer\xEAncia entre contas");
  EXPECT_STREQ(reinterpret_cast<const char*>(&historico) + 512, "TRF");
  EXPECT_EQ(historicos.Le(77, &historico), E_QXDF_REGISTRO_NAO_ENCONTRADO);
  EXPECT_EQ(historicos.Le(3, nullptr), E_POINTER);
}

TEST_P(CompanyAccessTest, DocumentManagementStoresNotificationsAndHonoursLocks) {
  MakeCompany();
  MakeCompany("SEMGED", [](CompanySeed& seed) { seed.ged = false; });

  CGDIntegracaoSrv semGedSrv(0);
  EXPECT_EQ(semGedSrv.Inicializa("SEMGED", 1, 1), E_QXDF_SEM_GED);
  EXPECT_EQ(semGedSrv.OnExclusaoReg(5), E_QXDF_NAO_INICIALIZADO);

  CGDIntegracaoSrv ged(0);
  ASSERT_EQ(ged.Inicializa(kTestCompany, 1, 0x2000), S_OK);
  CGDDoc novo, antigo;
  novo.SetDescricao("Pagamento Caixa");
  novo.SetFilial(2);
  novo.SetData(CQXData::Make(5, 3, kTestYear));
  novo.SetDocumento(123);
  antigo.SetDocumento(122);
  EXPECT_EQ(ged.OnAlteracaoReg(0x1004, novo, antigo), S_OK);
  EXPECT_EQ(ged.OnExclusaoReg(0x1004), S_OK);

  auto db = Open();
  ASSERT_EQ(DefineDocumentoBloqueado(*db, 0x2004, true), S_OK);
  EXPECT_EQ(ged.OnAlteracaoReg(0x2004, novo, antigo), E_QXDF_DOCUMENTO_BLOQUEADO);
  EXPECT_EQ(ged.OnExclusaoReg(0x2004), E_QXDF_DOCUMENTO_BLOQUEADO);

  std::vector<NotificacaoGed> notas;
  ASSERT_EQ(LeNotificacoesGed(*db, &notas), S_OK);
  ASSERT_EQ(notas.size(), 2u);
  const NotificacaoGed& n = notas[0];
  EXPECT_EQ(std::tuple(n.operacao, n.chave, n.sessao, n.descricaoNova, n.filialNova, n.dataNova,
                       n.documentoNovo, n.documentoAntigo, notas[1].operacao),
            std::tuple('A', 0x1004, 0x2000u, "Pagamento Caixa", 2,
                       CQXData::Make(5, 3, kTestYear).Value(), 123, 122, 'E'));
}

// The registration for the bookkeeping file, the natures of the accounts and
// what an import batch took in: a key written again changes the row or is
// refused alike on both backends, and the connection reads on after a refusal.
TEST_P(CompanyAccessTest, RegistrationNaturesAndBatchesWriteAndReadBack) {
  MakeCompany();
  const std::shared_ptr<SuiteDatabase> db = Open();
  SuiteDatabase& d = *db;
  CadastroPJ cadastro;
  cadastro.razaoSocial = "Acme Ltda";
  cadastro.uf = "SP";
  cadastro.mesInicioExercicio = 4;
  const SignatarioCadastro ana{"Ana", "52998224725", "205", "", "", "", 0, "", "", false};
  const struct {
    const char* what;
    std::function<HRESULT()> write;
    HRESULT expected;
  } writes[] = {
      {"cadastro", [&] { return GravaCadastroPJ(d, cadastro); }, S_OK},
      {"signatario", [&] { return AdicionaSignatario(d, ana); }, S_OK},
      {"signatario again", [&] { return AdicionaSignatario(d, ana); }, E_QXDF_JA_EXISTE},
      {"aglutinacao", [&] { return DefineAglutinacao(d, {5, "BCO", ""}); }, S_OK},
      {"aglutinacao changed", [&] { return DefineAglutinacao(d, {5, "BANCOS", "Bancos"}); }, S_OK},
      {"aglutinacao of no account", [&] { return DefineAglutinacao(d, {99, "X", ""}); },
       E_QXDF_REGISTRO_NAO_ENCONTRADO},
      {"natureza", [&] { return DefineNatureza(d, {"1.1", Natureza::kPassivo}); }, S_OK},
      {"natureza changed", [&] { return DefineNatureza(d, {"1.1", Natureza::kAtivo}); }, S_OK},
      {"natureza removed", [&] { return RemoveNatureza(d, "4"); }, S_OK},
      {"natureza removed again", [&] { return RemoveNatureza(d, "4"); },
       E_QXDF_REGISTRO_NAO_ENCONTRADO},
      {"lote", [&] { return ReservaLoteImportacao(d, 9); }, S_OK},
      {"lote again", [&] { return ReservaLoteImportacao(d, 9); }, S_FALSE},
      {"linhas do lote", [&] { return RegistraLinhasLote(d, 9, "abc", 12); }, S_OK},
      {"periodo fechado", [&] { return MudaPeriodoFechado(d, 70000, 70100, 3, 4096); }, S_OK},
      {"sessao", [&] { return RegistraSessao(d, 4096, 1, "qxcn"); }, S_OK},
      {"sessao of another user", [&] { return RegistraSessao(d, 4096, 2, "qxcn"); }, S_OK},
  };
  for (const auto& w : writes) EXPECT_EQ(w.write(), w.expected) << w.what << ": " << d.message();
  // Who closed the period, until a setting by hand moves it.
  for (const bool aMao : {false, true}) {
    if (aMao) {
      ASSERT_EQ(SetConfig(d, *FindConfigItem("fim-bloqueio"), 70200), S_OK);
    }
    PeriodoFechado periodo;
    ASSERT_EQ(LePeriodoFechado(d, &periodo), S_OK);
    EXPECT_EQ(std::tuple(periodo.de, periodo.ate, periodo.usuario, periodo.em.size()),
              std::tuple(70000u, aMao ? 70200u : 70100u,
                         aMao ? std::nullopt : std::optional<uint16_t>(3), aMao ? 0u : 23u));
  }

  CadastroPJ lido;
  ASSERT_EQ(LeCadastroPJ(d, &lido), S_OK);
  EXPECT_EQ(std::tie(lido.razaoSocial, lido.uf, lido.mesInicioExercicio),
            std::tie(cadastro.razaoSocial, cadastro.uf, cadastro.mesInicioExercicio));
  std::vector<SignatarioCadastro> signatarios;
  ASSERT_EQ(ListaSignatarios(d, &signatarios), S_OK);
  ASSERT_EQ(signatarios.size(), 1u);
  EXPECT_EQ(signatarios[0].documento, ana.documento);
  std::vector<AglutinacaoCadastro> aglutinacoes;
  ASSERT_EQ(ListaAglutinacoes(d, &aglutinacoes), S_OK);
  ASSERT_EQ(aglutinacoes.size(), 1u);
  EXPECT_EQ(aglutinacoes[0].codigo + aglutinacoes[0].descricao, "BANCOSBancos");
  std::vector<RegraNatureza> regras;
  ASSERT_EQ(ListaNaturezas(d, &regras), S_OK);
  EXPECT_EQ(regras, (std::vector<RegraNatureza>{{"1", Natureza::kAtivo},
                                                {"1.1", Natureza::kAtivo},
                                                {"2", Natureza::kPassivo},
                                                {"2.3", Natureza::kPatrimonio},
                                                {"3", Natureza::kReceita}}));
  EXPECT_EQ(Scalar(d, "SELECT usuario FROM sessoes WHERE sessao = 4096"), 2);
  std::vector<LoteImportado> lotes;
  ASSERT_EQ(LotesDoDigesto(d, "abc", &lotes), S_OK);
  ASSERT_EQ(lotes.size(), 1u);
  EXPECT_EQ(std::pair(lotes[0].lote, lotes[0].linhas), std::pair(9u, int64_t{12}));
}

TEST_P(CompanyAccessTest, DefaultConnectionAndAnalytics) {
  MakeCompany();
  CQXBaseParaRotinas analytics;
  analytics.SetUsaConexaoDefault();
  ASSERT_EQ(analytics.Inicializa("ANALYTICS_SEM_EMPRESA", 65535, 0), S_OK);
  CQXDadosDF_Propriedades propriedades;
  EXPECT_EQ(analytics.GetAcessoEmpresarial()->LePropriedades(&propriedades, 0),
            E_QXDF_NAO_INICIALIZADO);

  CQXComPtr<IQXCR_Analytics> servico;
  ASSERT_EQ(analytics.GetAcessoCore()->GetICRAnalytics(servico), S_OK);
  char empresa[] = "ACME", outra[] = "NINGUEM", app[] = "cliente", origem[] = "Ostrel",
       classe[] = "CQXCN_Lancamento", metodo[] = "Grava";
  _REG_CR_ANALYTICSPS figuras[2]{};
  figuras[0] = {empresa, app, origem, classe, metodo, {}, 3, 30, 20, 1, 7, {}};
  figuras[1] = figuras[0];
  figuras[1].pszEmpresa = outra;  // a company without a database
  EXPECT_EQ(servico->Grava(2, figuras), E_QXDF_EMPRESA_SEM_PASTA);

  // One row, of total 30: only the figure of the company with a database is kept.
  EXPECT_EQ(Scalar(*Open(), "SELECT 1000 * count(*) + sum(total) FROM analytics"), 1030);
}

TEST_F(CompanyCreationTest, AFailedSeedLeavesNothingAndExistingDataIsNeverOverwritten) {
  CompanySeed seed = SampleCompany("FALHA", kTestYear);
  seed.usuarios.push_back({7, "SEM FILIAL", {42}});  // branch 42 does not exist
  std::string message;
  EXPECT_EQ(CreateCompany(Registry::Default(), seed, registry_.dir() + "/falha", &message),
            E_QXDF_REGISTRO_NAO_ENCONTRADO);
  EXPECT_NE(message.find("42"), std::string::npos) << message;
  EXPECT_FALSE(std::filesystem::exists(registry_.dir() + "/falha/DF/" + kSuiteDatabaseName));
  EXPECT_EQ(RegisteredCompanyFolder(Registry::Default(), "FALHA"), "");

  // The same code can then be created properly.
  seed.usuarios.pop_back();
  EXPECT_EQ(CreateCompany(Registry::Default(), seed, registry_.dir() + "/falha", &message), S_OK)
      << message;

  // Existing data is never overwritten.
  const std::string before = ReadText(DatabasePath("FALHA"));
  EXPECT_EQ(CreateCompany(Registry::Default(), seed, "", &message), E_QXDF_JA_EXISTE);
  EXPECT_EQ(CreateCompanyDatabase(DfFolder("FALHA"), seed, &message), E_QXDF_JA_EXISTE);
  EXPECT_EQ(ReadText(DatabasePath("FALHA")), before);
  seed.codigo = std::string(25, 'A');
  EXPECT_EQ(CreateCompany(Registry::Default(), seed, "", &message), E_INVALIDARG);
}

class Holder : public CQXUltimoErro {
 public:
  int rpcErrors = 0;
  void OnErroRPC() override { ++rpcErrors; }
  const char* GetEmpresaErroVirtual() override { return "EMPRESA"; }
};

TEST(UltimoErroTest, CopiarParaFillsTheWholeRecordAndSetErroFormatsIt) {
  CQXDadosDF_Erro erro;
  erro.hr = static_cast<HRESULT>(0x80EE0004u);
  erro.nCodigoErro = -2;
  erro.lCodigoMensagem = 1525;
  erro.lCodigoCampo = 5;
  erro.nTipoErro = -7;
  erro.usNumeroServidor = 10;
  erro.strMensagem = std::string(400, 'm');  // longer than its field
  erro.strEmpresa = "ACME";

  _REG_DF_ERROPS record;
  std::memset(&record, 0xCD, sizeof record);
  erro.CopiarPara(&record);
  EXPECT_EQ(std::tuple(At<uint32_t>(record, 0), At<int32_t>(record, 4), At<int32_t>(record, 8),
                       At<int32_t>(record, 20), At<int16_t>(record, 26), At<uint16_t>(record, 28)),
            std::tuple(0x80EE0004u, -2, 1525, 5, -7, 10));
  const char* bytes = reinterpret_cast<const char*>(&record);
  EXPECT_EQ(std::string(bytes + 30, 302), std::string(301, 'm') + '\0');
  // The company, then zeros to the end of the record's 480 bytes.
  EXPECT_EQ(std::string(bytes + 332, 148), "ACME" + std::string(144, '\0'));
  erro.CopiarPara(nullptr);  // nothing to fill, no fault

  // SetErro formats the text and takes the company.
  Holder holder;
  holder.SetErro(E_FAIL, 3, 42, "falhou %d vez", 1);
  EXPECT_EQ(std::tie(holder.GetErro().strMensagem, holder.GetErro().strEmpresa, holder.rpcErrors),
            std::tuple("falhou 1 vez", "EMPRESA", 0));
  holder.SetErro(static_cast<HRESULT>(0x800706BAu), 1, 0);  // RPC server unavailable
  EXPECT_EQ(std::tie(holder.GetErro().strMensagem, holder.rpcErrors), std::tuple("", 1));

  CQXDadosDF_Erro other;
  other.hr = E_POINTER;
  other.strEmpresa = "OUTRA";
  holder.SetErro(&other);
  holder.SetErro(static_cast<const CQXDadosDF_Erro*>(nullptr));  // ignored
  EXPECT_EQ(std::tuple(holder.GetUltimoHR(), holder.GetErro().strEmpresa),
            std::tuple(E_POINTER, "OUTRA"));

  holder.LimpaErro();
  holder.GetErro().CopiarPara(&record);
  const _REG_DF_ERROPS zero{};
  EXPECT_EQ(std::memcmp(&record, &zero, sizeof record), 0);
}

}  // namespace
}  // namespace qx
