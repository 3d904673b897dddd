// What a save reports to the change log, in order, with its bytes.
#include <cstring>

#include "entries/registro_log.h"
#include "saving_fixture.h"

namespace qx {
namespace {

using Itens = std::vector<std::string>;

RegLanAtual Imagem(const RegistroLog& registro) {
  RegLanAtual imagem{};
  EXPECT_EQ(registro.dados.size(), sizeof imagem);
  std::memcpy(&imagem, registro.dados.data(), std::min(registro.dados.size(), sizeof imagem));
  return imagem;
}

REGLAN_GER Linha(const RegistroLog& registro) {
  REGLAN_GER linha{};
  EXPECT_EQ(registro.dados.size(), sizeof linha);
  std::memcpy(&linha, registro.dados.data(), std::min(registro.dados.size(), sizeof linha));
  return linha;
}

TEST_F(SavingTest, NewEntryReportsImageComplementAndEachLine) {
  auto objeto = Objeto();
  Preenche(*objeto, 4, 11, 100);
  Divide(*objeto, 2);
  int32_t indlan = 0;
  ASSERT_EQ(objeto->Grava(&indlan), S_OK);
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
  int32_t indlan = 0;
  ASSERT_EQ(objeto->Grava(&indlan), S_OK);
  const size_t inicio = Log().size();
  const REGLAN_GER primeiraAntiga = Linhas()[1];

  ASSERT_EQ(objeto->Le(1, Mes()), S_OK);
  BSTR texto = BstrFromCp1252("depois");
  objeto->SetComplemento(texto);
  SysFreeString(texto);
  objeto->SetDebito(5);
  Divide(*objeto, 2);
  ASSERT_EQ(objeto->Grava(&indlan), S_OK);
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

}  // namespace
}  // namespace qx
