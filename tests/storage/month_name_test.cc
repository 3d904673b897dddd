// Names of the month files.
#include "storage/month_name.h"

#include <gtest/gtest.h>

namespace {

TEST(MonthName, PrefixMonthAndTwoDigitYear) {
  const uint16_t marco2024 = 3 + (2024 - 1848) * 12;
  EXPECT_EQ(qx::NomeArquivoMes("/dados/cn/", qx::kPrefixoLancamentos, marco2024),
            "/dados/cn/CNLC0324.DAT");
  EXPECT_EQ(qx::NomeArquivoMes("/dados/cn/", qx::kPrefixoGerencial, marco2024),
            "/dados/cn/CNLG0324.DAT");
  EXPECT_EQ(qx::NomeArquivoMes("/dados/cn/", qx::kPrefixoQuantidades, marco2024),
            "/dados/cn/CNLQ0324.DAT");
  EXPECT_EQ(qx::NomeArquivoMes("/dados/cn/", qx::kPrefixoMoeda, marco2024),
            "/dados/cn/CNLM0324.DAT");
  EXPECT_EQ(qx::NomeArquivoMes("/dados/cn/", qx::kPrefixoComplementos, marco2024),
            "/dados/cn/CNLH0324.DAT");
  // A folder without its separator gets one; none is doubled.
  EXPECT_EQ(qx::NomeArquivoMes("/dados/cn", qx::kPrefixoLancamentos, marco2024),
            "/dados/cn/CNLC0324.DAT");
  EXPECT_EQ(qx::NomeArquivoMes("", qx::kPrefixoLancamentos, marco2024), "CNLC0324.DAT");
}

TEST(MonthName, MonthPartEdges) {
  EXPECT_EQ(qx::ParteMesArquivo(1), "0148");      // January 1848
  EXPECT_EQ(qx::ParteMesArquivo(12), "1248");     // December 1848
  EXPECT_EQ(qx::ParteMesArquivo(13), "0149");     // January 1849
  EXPECT_EQ(qx::ParteMesArquivo(1825), "0100");   // January 2000
  EXPECT_EQ(qx::ParteMesArquivo(34440), "1217");  // December 4717
  // No month-year, or none that exists: "0000".
  EXPECT_EQ(qx::ParteMesArquivo(0), "0000");
  EXPECT_EQ(qx::ParteMesArquivo(34441), "0000");
  EXPECT_EQ(qx::ParteMesArquivo(65535), "0000");
  EXPECT_EQ(qx::NomeArquivoMes("/c/", qx::kPrefixoComplementos, 0), "/c/CNLH0000.DAT");
}

}  // namespace
