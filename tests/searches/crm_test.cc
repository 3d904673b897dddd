// The CRM extract: the client code and the branch position table.
#include <fstream>

#include "busca_fixture.h"

namespace qx {
namespace {

std::string Linha(char filial, char posicao) { return filial + std::string(30, ' ') + posicao; }

class CrmTest : public BuscaTest {
 protected:
  void SetUp() override {}

  std::vector<uint16_t> Tabela(uint16_t cliente, uint16_t* codigo) {
    company_.SetConfig("client-code", cliente);
    Inicializa();
    std::vector<uint16_t> tabela(10, 0x5A5A);
    EXPECT_EQ(objeto_.PegaDadosCRM(codigo, 0, tabela.data()), S_OK);
    return tabela;
  }

  void Escreve(const std::vector<std::string>& linhas) {
    std::ofstream arquivo(company_.CnFolder() + "POSFILCRM.TXT", std::ios::binary);
    for (const std::string& linha : linhas) arquivo << linha << "\r\n";
  }
};

TEST_F(CrmTest, EveryBranchPositionReachesTheCaller) {
  std::vector<std::string> linhas = {Linha('0', '5'), Linha('A', '5')};
  for (char filial = '1'; filial <= '9'; ++filial)
    linhas.push_back(Linha(filial, '9' - (filial - '1')));
  Escreve(linhas);
  uint16_t codigo = 0;
  EXPECT_EQ(Tabela(851, &codigo), (std::vector<uint16_t>{0, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
  EXPECT_EQ(codigo, 851);
}

TEST_F(CrmTest, EmptyLineEndsTheTableAndOtherClientsGetZeros) {
  Escreve({Linha('3', '7'), "5", "", Linha('4', '2')});
  uint16_t codigo = 0;
  EXPECT_EQ(Tabela(851, &codigo), (std::vector<uint16_t>{0, 0, 0, 7, 0, 0, 0, 0, 0, 0}));

  CLancamentoBase outro;
  company_.SetConfig("client-code", 850);
  ASSERT_EQ(outro.Inicializa(RegistroInicializacao()), S_OK);
  std::vector<uint16_t> tabela(10, 0x5A5A);
  EXPECT_EQ(outro.PegaDadosCRM(&codigo, 0, tabela.data()), S_OK);
  EXPECT_EQ(codigo, 850);
  EXPECT_EQ(tabela, std::vector<uint16_t>(10, 0));
}

TEST_F(CrmTest, MissingFileGivesZeros) {
  uint16_t codigo = 0;
  EXPECT_EQ(Tabela(851, &codigo), std::vector<uint16_t>(10, 0));
}

}  // namespace
}  // namespace qx
