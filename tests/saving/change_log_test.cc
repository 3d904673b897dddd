// What a save reports to the change log, in order and with its bytes, and to
// document management: the document's description, the notice of a change,
// and a locked document refusing it.
#include <cstring>
#include <filesystem>
#include <tuple>

#include "lancamento/gravacao/historico_texto.h"
#include "lancamento/gravacao/registro_log.h"
#include "outside/database/outside_codes.h"
#include "saving_fixture.h"
#include "storage/records/difference_record.h"
#include "values/entry_key.h"

namespace qx {
namespace {

using Itens = std::vector<std::string>;

// The bytes of a change-log record as the record they hold.
template <class Registro>
Registro Como(const RegistroLog& registro) {
  Registro copia{};
  EXPECT_EQ(registro.dados.size(), sizeof copia);
  std::memcpy(&copia, registro.dados.data(), std::min(registro.dados.size(), sizeof copia));
  return copia;
}
RegLanAtual Imagem(const RegistroLog& registro) { return Como<RegLanAtual>(registro); }
REGLAN_GER Linha(const RegistroLog& registro) { return Como<REGLAN_GER>(registro); }

TEST_F(SavingTest, NewEntryReportsImageComplementAndEachLine) {
  auto objeto = Objeto();
  Preenche(*objeto, 4, 11, 100);
  Divide(*objeto, 2);
  Grava(*objeto);
  EXPECT_EQ(Sequencia(), (Itens{"24I1", "8I1", "27I1", "27I2"}));

  const std::vector<RegistroLog> log = Log();
  EXPECT_EQ(log[0].sessao, 4096u * 3);
  const RegLanAtual imagem = Imagem(log[0]);
  EXPECT_EQ(+imagem.Data, kData.Value());
  EXPECT_EQ(+imagem.Debito, 4);
  EXPECT_EQ(+imagem.Secao, 3);
  EXPECT_EQ(+imagem.Gerencial, 0) << "reported before its split is written";
  EXPECT_EQ(log[1].dados, "") << "an empty complement is still reported";
  EXPECT_EQ(+Linha(log[3]).Indlan, 1u);
  EXPECT_EQ(+Linha(log[3]).ContaGerencial, 3);
}

TEST_F(SavingTest, UpdateReportsBeforeAndAfterImagesAndTheFirstOldLine) {
  auto objeto = Objeto();
  Preenche(*objeto, 4, 11, 100, "antes");
  Divide(*objeto, 3);
  Grava(*objeto);
  const size_t inicio = Log().size();
  const REGLAN_GER primeiraAntiga = Linhas()[1];

  ASSERT_EQ(objeto->Le(1, Mes()), S_OK);
  Texto(*objeto, "depois");
  objeto->SetDebito(5);
  Divide(*objeto, 2);
  Grava(*objeto, 1);
  EXPECT_EQ(Sequencia(inicio), (Itens{"24a1", "8a1", "27a1", "24A1", "8A1", "27A4", "27A5"}));

  const std::vector<RegistroLog> log = Log();
  EXPECT_EQ(+Imagem(log[inicio]).Debito, 4) << "the old record";
  EXPECT_EQ(+Imagem(log[inicio]).Gerencial, 1);
  EXPECT_EQ(log[inicio + 1].dados, "depois") << "with the text being saved";
  const REGLAN_GER antiga = Linha(log[inicio + 2]);
  EXPECT_EQ(std::memcmp(&antiga, &primeiraAntiga, sizeof antiga), 0);
  EXPECT_EQ(+Imagem(log[inicio + 3]).Debito, 5);
  EXPECT_EQ(+Imagem(log[inicio + 3]).Data, kData.Value());
}

class SavingGedTest : public SavingTest {
 protected:
  SavingGedTest() : SavingTest(/*ged=*/true) {}
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
  ASSERT_EQ(AdicionaHistorico(*TestCompany::Database(), {9, "Pago a #K por #D: #C", "PG"}), S_OK);
  auto objeto = Objeto();
  Preenche(*objeto, 4, 11, 100, "nota 1");
  Grava(*objeto);
  EXPECT_TRUE(TestCompany::GedNotices().empty()) << "new entries are not reported";

  objeto->SetHistorico(9);
  objeto->SetDocumento(88);
  Grava(*objeto, 1);
  const std::vector<NotificacaoGed> lista = TestCompany::GedNotices();
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

TEST_F(SavingGedTest, AnUpdateThatFailsIsToldBackToDocumentManagement) {
  auto objeto = Objeto();
  Preenche(*objeto, 0, 11, 100);
  objeto->SetDocumento(77);
  Grava(*objeto);
  // The one-sided entry's totals cannot be written: the update fails after
  // document management has accepted it.
  const std::string totais = company_.CnFolder() + "/" + kDifferenceFileName;
  std::filesystem::permissions(totais, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  objeto->SetDocumento(88);
  int32_t indlan = 1;
  EXPECT_NE(objeto->Grava(&indlan), S_OK);
  const std::vector<NotificacaoGed> lista = TestCompany::GedNotices();
  ASSERT_EQ(lista.size(), 2u);
  EXPECT_EQ(std::tuple(lista[0].documentoNovo, lista[0].documentoAntigo), std::tuple(88, 77));
  EXPECT_EQ(std::tuple(lista[1].operacao, lista[1].chave, lista[1].documentoNovo,
                       lista[1].documentoAntigo),
            std::tuple('A', lista[0].chave, 77, 88));
}

TEST_F(SavingGedTest, LockedDocumentRefusesTheChangeBeforeTheRecordIsWritten) {
  auto objeto = Objeto();
  Preenche(*objeto, 4, 11, 100);
  Grava(*objeto);
  ASSERT_EQ(DefineDocumentoBloqueado(*TestCompany::Database(), MakeChaveComposta(1, kData.MesAno()),
                                     true),
            S_OK);
  const std::string antes = Bytes(kPrefixoLancamentos);
  const size_t registros = Log().size();
  objeto->SetValor(CURRENCY{1});
  Grava(*objeto, 1, E_QXDF_DOCUMENTO_BLOQUEADO);
  EXPECT_EQ(Bytes(kPrefixoLancamentos), antes);
  EXPECT_EQ(Sequencia(registros), (std::vector<std::string>{"24a1", "8a1"}));
  // The mark is free again.
  auto outro = Objeto();
  Preenche(*outro, 4, 11, 1);
  EXPECT_EQ(Grava(*outro), 2);
}

}  // namespace
}  // namespace qx
