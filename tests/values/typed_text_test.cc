// Amounts, dates and month-years as people type and read them.
#include <gtest/gtest.h>

#include "values/br_text.h"
#include "values/typed_input.h"

namespace {

std::optional<int64_t> Amount(const char* text) {
  const std::optional<CURRENCY> value = qx::ReadAmount(text);
  if (!value) return std::nullopt;
  return value->int64;
}

// What a text reads as, and both of its readings when its lone '.' may be a
// decimal point or a thousands mark.
using Readings = std::pair<std::optional<int64_t>, std::optional<std::pair<int64_t, int64_t>>>;
Readings Read(const char* text) {
  const std::optional<qx::AmbiguousAmount> both = qx::ReadAmbiguousAmount(text);
  if (!both) return {Amount(text), std::nullopt};
  return {Amount(text), std::pair(both->decimalPoint.int64, both->thousandsMark.int64)};
}

TEST(TypedAmount, BrazilianAndScriptFormsRefusalsAndAmbiguousDots) {
  // Without a comma a lone '.' before 2 or 4 digits is a decimal point.
  const std::pair<const char*, int64_t> amounts[] = {{"1.234,56", 12345600},
                                                     {"-0,5", -5000},
                                                     {"+10", 100000},
                                                     {"0,3333", 3333},
                                                     {"1.234.567,8", 12345678000},
                                                     {"1234.56", 12345600},
                                                     {"0.3333", 3333},
                                                     {"1.234.567", 12345670000},
                                                     {"10,555", 105550},
                                                     {"922337203685477,5807", INT64_MAX}};
  for (const auto& [text, value] : amounts) {
    EXPECT_EQ(Read(text), Readings(value, std::nullopt)) << text;
  }
  for (const char* text : {"", "-", ",5", "1,", "1,23456", "12.34,5", "1..234", ".123", "1.2.3",
                           "1,2x", "--1", "9223372036854775,8070", "1 234", "10.", "1.23456"}) {
    EXPECT_EQ(Read(text), Readings()) << text;
  }

  // Before 1 or 3 digits a lone '.' may be either: nothing reads, both readings are given.
  const std::pair<const char*, std::pair<int64_t, int64_t>> cases[] = {
      {"10.555", {105550, 105550000}},
      {"1.5", {15000, 150000}},
      {"-1.234", {-12340, -12340000}},
      {"1234.5", {12345000, 123450000}}};
  for (const auto& [text, readings] : cases) {
    EXPECT_EQ(Read(text), Readings(std::nullopt, readings)) << text;
  }
}

TEST(BrazilianText, AmountsGroupThousandsAndReadBackDatesAndMonths) {
  const std::pair<int64_t, const char*> texts[] = {{12345600, "1.234,56"},
                                                   {-5000, "-0,50"},
                                                   {3333, "0,3333"},
                                                   {0, "0,00"},
                                                   {INT64_MIN, "-922.337.203.685.477,5808"}};
  for (const auto& [value, text] : texts) EXPECT_EQ(qx::AmountText(CURRENCY{value}), text);
  EXPECT_EQ(qx::AmountPlainText(CURRENCY{12345600}), "1234.56");
  EXPECT_EQ(qx::AmountPlainText(CURRENCY{-10}), "-0.0010");
  // Whatever a tool prints, another reads back.
  for (int64_t v : {int64_t{12345600}, int64_t{-5000}, int64_t{3333}, int64_t{7}, int64_t{-10},
                    int64_t{12345670}}) {
    EXPECT_EQ(Amount(qx::AmountText(CURRENCY{v}).c_str()), v) << v;
    EXPECT_EQ(Amount(qx::AmountPlainText(CURRENCY{v}).c_str()), v) << v;
  }

  EXPECT_EQ(qx::DateText(CQXData::Make(15, 3, 2024)) + qx::DateText(CQXData()), "15/03/2024");
  EXPECT_EQ(qx::MesAnoText(CQXMesAno::Make(3, 2024)) + qx::MesAnoText(CQXMesAno()), "03/2024");
  // Written by hand, as the layouts of the dates write them, over their whole range.
  for (uint32_t dia = 2; dia < 3'000'000; dia += 997) {
    if (CQXData(dia).IsEmpty()) continue;
    ASSERT_EQ(qx::DateText(CQXData(dia)), CQXData(dia).Text(1, '/')) << dia;
    const CQXMesAno mes = CQXData(dia).MesAno();
    if (mes.Value() != 0) {
      ASSERT_EQ(qx::MesAnoText(mes), mes.Text(8, '/')) << dia;
    }
  }
  for (const char* text : {"03/2024", "3/24", "2024-03"}) {
    EXPECT_EQ(qx::ReadMesAno(text), CQXMesAno::Make(3, 2024)) << text;
  }
  for (const char* text : {"13/2024", "00/2024", "03/202", "2024/03", "03-2024", "", "x/2024"}) {
    EXPECT_EQ(qx::ReadMesAno(text), std::nullopt) << text;
  }
}

}  // namespace
