// Names of the month files.
#include "storage/month_name.h"

#include <gtest/gtest.h>

namespace {

TEST(MonthName, PrefixMonthAndTwoDigitYear) {
  const uint16_t marco2024 = 3 + (2024 - 1848) * 12;
  const std::pair<const char*, const char*> prefixos[] = {{qx::kPrefixoLancamentos, "CNLC"},
                                                          {qx::kPrefixoGerencial, "CNLG"},
                                                          {qx::kPrefixoQuantidades, "CNLQ"},
                                                          {qx::kPrefixoMoeda, "CNLM"},
                                                          {qx::kPrefixoComplementos, "CNLH"}};
  for (const auto& [prefixo, nome] : prefixos) {
    EXPECT_EQ(qx::NomeArquivoMes("/dados/cn/", prefixo, marco2024),
              std::string("/dados/cn/") + nome + "0324.DAT");
  }
  // A folder without its separator gets one; none is doubled.
  EXPECT_EQ(qx::NomeArquivoMes("/dados/cn", qx::kPrefixoLancamentos, marco2024),
            "/dados/cn/CNLC0324.DAT");
  EXPECT_EQ(qx::NomeArquivoMes("", qx::kPrefixoLancamentos, marco2024), "CNLC0324.DAT");
  // Month edges; no month-year, or none that exists, is "0000".
  const std::pair<uint16_t, const char*> meses[] = {{1, "0148"},     {12, "1248"}, {13, "0149"},
                                                    {34440, "1217"}, {0, "0000"},  {34441, "0000"}};
  for (const auto& [mes, parte] : meses) EXPECT_EQ(qx::ParteMesArquivo(mes), parte) << mes;
}

}  // namespace
