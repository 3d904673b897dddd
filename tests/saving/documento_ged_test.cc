// Document management in saves: the description of an entry's document, the
// notification of changes, and a locked document refusing the change.
#include "entries/historico_texto.h"
#include "outside/outside_codes.h"
#include "saving_fixture.h"
#include "values/entry_key.h"

namespace qx {
namespace {

class SavingGedTest : public SavingTest {
 protected:
  SavingGedTest() : SavingTest(/*ged=*/true) {}

  std::shared_ptr<SuiteDatabase> Banco() const { return TestCompany::Database(); }
  std::vector<NotificacaoGed> Notificacoes() const { return TestCompany::GedNotices(); }
};

TEST(HistoricoTexto, MarksTakeTheComplementAndTheAccountNames) {
  EXPECT_EQ(ContasDoHistorico("Pago a #K por #D"), kHistoricoUsaDebito | kHistoricoUsaCredito);
  EXPECT_EQ(ContasDoHistorico("Tarifa #C"), 0);
  EXPECT_EQ(ComporHistorico("Pago a #K por #D: #C", "nota 5\r", "Caixa", "Fornecedores"),
            "Pago a Fornecedores por Caixa: nota 5");
  EXPECT_EQ(ComporHistorico("Tarifa   ", "mensal", "", ""), "Tarifa mensal");
  EXPECT_EQ(ComporHistorico("", "so o texto  ", "", ""), "so o texto");
  EXPECT_EQ(ComporHistorico("Conta #D #", "", "", ""), "Conta  #");
  EXPECT_EQ(ComporHistorico("", "", "", ""), "");
}

TEST_F(SavingGedTest, UpdatesAreNotifiedWithBothDocuments) {
  ASSERT_EQ(AdicionaHistorico(*Banco(), {9, "Pago a #K por #D: #C", "PG"}), S_OK);
  auto objeto = Objeto();
  Preenche(*objeto, 4, 11, 100, "nota 1");
  int32_t indlan = 0;
  ASSERT_EQ(objeto->Grava(&indlan), S_OK);
  EXPECT_TRUE(Notificacoes().empty()) << "new entries are not reported";

  objeto->SetHistorico(9);
  objeto->SetDocumento(88);
  ASSERT_EQ(objeto->Grava(&indlan), S_OK);
  const std::vector<NotificacaoGed> lista = Notificacoes();
  ASSERT_EQ(lista.size(), 1u);
  EXPECT_EQ(lista[0].operacao, 'A');
  EXPECT_EQ(lista[0].chave, MakeChaveComposta(1, kData.MesAno()));
  EXPECT_EQ(lista[0].descricaoNova, "Pago a Fornecedores por Caixa: nota 1");
  EXPECT_EQ(lista[0].descricaoAntiga, "Pagamento conforme documento nota 1");
  EXPECT_EQ(lista[0].documentoNovo, 88);
  EXPECT_EQ(lista[0].documentoAntigo, 77);
  EXPECT_EQ(lista[0].filialNova, 1);
  EXPECT_EQ(lista[0].dataNova, kData.Value());
}

TEST_F(SavingGedTest, LockedDocumentRefusesTheChangeBeforeTheRecordIsWritten) {
  auto objeto = Objeto();
  Preenche(*objeto, 4, 11, 100);
  int32_t indlan = 0;
  ASSERT_EQ(objeto->Grava(&indlan), S_OK);
  ASSERT_EQ(DefineDocumentoBloqueado(*Banco(), MakeChaveComposta(1, kData.MesAno()), true), S_OK);
  const std::string antes = Bytes(kPrefixoLancamentos);
  const size_t registros = Log().size();
  objeto->SetValor(CURRENCY{1});
  EXPECT_EQ(objeto->Grava(&indlan), E_QXDF_DOCUMENTO_BLOQUEADO);
  EXPECT_EQ(Bytes(kPrefixoLancamentos), antes);
  EXPECT_EQ(Sequencia(registros), (std::vector<std::string>{"24a1", "8a1"}));
  // The mark is free again.
  auto outro = Objeto();
  Preenche(*outro, 4, 11, 1);
  int32_t novo = 0;
  EXPECT_EQ(outro->Grava(&novo), S_OK);
  EXPECT_EQ(novo, 2);
}

}  // namespace
}  // namespace qx
