// The CRM extract: the client code and the branch position table.
#include <fstream>

#include "busca_fixture.h"

namespace qx {
namespace {

std::string Linha(char filial, char posicao) { return filial + std::string(30, ' ') + posicao; }

class CrmTest : public BuscaTest {
 protected:
  void SetUp() override {}

  // The table as a company of client code `cliente` reads it; the code read.
  std::vector<uint16_t> Tabela(uint16_t cliente) {
    company_.SetConfig("client-code", cliente);
    CLancamentoBase objeto;
    EXPECT_EQ(objeto.Inicializa(RegistroInicializacao()), S_OK);
    std::vector<uint16_t> tabela(10, 0x5A5A);
    uint16_t codigo = 0;
    EXPECT_EQ(objeto.PegaDadosCRM(&codigo, 0, tabela.data()), S_OK);
    EXPECT_EQ(codigo, cliente);
    return tabela;
  }

  void Escreve(const std::vector<std::string>& linhas) {
    std::ofstream arquivo(company_.CnFolder() + "POSFILCRM.TXT", std::ios::binary);
    for (const std::string& linha : linhas) arquivo << linha << "\r\n";
  }
};

TEST_F(CrmTest, EveryBranchPositionReachesTheCaller) {
  const std::vector<uint16_t> zeros(10, 0);
  EXPECT_EQ(Tabela(851), zeros) << "no file";

  std::vector<std::string> linhas = {Linha('0', '5'), Linha('A', '5')};
  for (char filial = '1'; filial <= '9'; ++filial) {
    linhas.push_back(Linha(filial, '9' - (filial - '1')));
  }
  Escreve(linhas);
  EXPECT_EQ(Tabela(851), (std::vector<uint16_t>{0, 9, 8, 7, 6, 5, 4, 3, 2, 1}));

  // An empty line ends the table; other clients get zeros.
  Escreve({Linha('3', '7'), "5", "", Linha('4', '2')});
  EXPECT_EQ(Tabela(851), (std::vector<uint16_t>{0, 0, 0, 7, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(Tabela(850), zeros);
}

}  // namespace
}  // namespace qx
