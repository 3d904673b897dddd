// The writer over the small company's books: the whole file against the one
// checked by hand, and the checker passing it.
#include <gtest/gtest.h>

#include <sstream>

#include "padaria.h"
#include "reports/ecd/confere.h"
#include "reports/ecd/escreve.h"

namespace qx::ecd {
namespace {

std::string Arquivo(const Livro& livro) {
  std::ostringstream saida;
  EscreveEcd(livro, saida);
  return saida.str();
}

std::vector<std::string> Problemas(const std::string& arquivo) {
  std::istringstream entrada(arquivo);
  std::vector<std::string> problemas;
  ConfereEcd(entrada, [&](const Problema& p) { problemas.push_back(TextoProblema(p)); });
  return problemas;
}

TEST(EscreveEcd, GivesTheSmallCompanysFileAsCheckedByHand) {
  std::vector<Lancamento> lancamentos;
  const std::string arquivo = Arquivo(test::LivroPadaria(&lancamentos));
  std::string esperado;
  for (const std::string& linha : test::Padaria()) esperado += linha + "\r\n";
  EXPECT_EQ(arquivo, esperado);
  EXPECT_EQ(Problemas(arquivo), std::vector<std::string>{});
}

}  // namespace
}  // namespace qx::ecd
