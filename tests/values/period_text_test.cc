#include <gtest/gtest.h>

#include <array>

#include "values/qx_data.h"
#include "values/qx_mes_ano.h"

namespace {

struct TextCase {
  int layout;
  char separator;
  const char* text;
};

TEST(DateText, LayoutsWideYearsAndTheEmptyDate) {
  const CQXData date = CQXData::Make(5, 3, 2024);
  const TextCase cases[] = {{0, '/', "05/03/24"},
                            {0, 0, "050324"},
                            {1, '/', "05/03/2024"},
                            {2, '/', "03/05/24"},
                            {3, '-', "03-05-2024"},
                            {4, '/', "24/03/05"},
                            {5, '-', "2024-03-05"},
                            {5, 0, "20240305"},
                            {7, 0, ""},
                            {-1, 0, ""}};
  for (const auto& [layout, separator, text] : cases) {
    EXPECT_EQ(date.Text(layout, separator), text) << layout;
  }
  EXPECT_EQ(date.Text(6), "05 de mar\xE7o de 2024");
  EXPECT_EQ(CQXData::Make(31, 12, 4717).Text(6), "31 de dezembro de 4717");
  // Wide years outside 1984..2083 show all four digits.
  EXPECT_EQ(CQXData::Make(1, 2, 1983).Text(0, '/', true), "01/02/1983");
  EXPECT_EQ(CQXData::Make(1, 2, 1984).Text(0, '/', true), "01/02/84");
  EXPECT_EQ(CQXData::Make(1, 2, 2083).Text(2, '/', true), "02/01/83");
  EXPECT_EQ(CQXData::Make(1, 2, 2084).Text(4, '/', true), "2084/02/01");
  EXPECT_EQ(CQXData().Text(0, '/'), "00/00/00");
  EXPECT_EQ(CQXData().Text(1, '/'), "00/00/0000");
  EXPECT_EQ(CQXData().Text(6), "");
}

TEST(MesAnoText, LayoutsAndEmptyValues) {
  const CQXMesAno march = CQXMesAno::Make(3, 2024);
  const TextCase cases[] = {{7, 0, "0324"},    {7, '/', "03/24"},    {8, '/', "03/2024"},
                            {9, '/', "24/03"}, {10, '/', "2024/03"}, {10, 0, "202403"},
                            {11, '/', "2024"}, {6, 0, ""},           {12, 0, ""}};
  for (const auto& [layout, separator, text] : cases) {
    EXPECT_EQ(march.Text(layout, separator), text) << layout;
  }
  EXPECT_EQ(CQXMesAno::Make(3, 1900).Text(7, 0, true), "031900");
  EXPECT_EQ(CQXMesAno::Make(3, 1900).Text(7), "0300");
  EXPECT_EQ(CQXMesAno().Text(7, '/'), "00/00");
  EXPECT_EQ(CQXMesAno(34441).Text(7), "0000");
}

TEST(MesAnoText, BufferSizes) {
  const CQXMesAno march = CQXMesAno::Make(3, 2024);
  std::array<char, 8> buffer;
  buffer.fill('x');
  EXPECT_EQ(march.Format(std::span(buffer).first(5), 7), 0u);  // "0324" fits, but 6 is asked
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(march.Format(std::span(buffer).first(6), 7, '/'), 5u);
  EXPECT_STREQ(buffer.data(), "03/24");
  EXPECT_EQ(march.Format(std::span(buffer).first(7), 8), 0u);
  EXPECT_EQ(march.Format(buffer, 8, '/'), 7u);
  EXPECT_STREQ(buffer.data(), "03/2024");
  EXPECT_EQ(CQXMesAno::Make(3, 1900).Format(std::span(buffer).first(6), 7, '/', true), 0u);
  EXPECT_EQ(march.Format(std::span<char>(), 7), 0u);
  std::array<char, 10> small;
  EXPECT_EQ(CQXData::Make(5, 3, 2024).Format(small, 1, '/'), 0u);  // needs 11 bytes
  EXPECT_EQ(small[0], 0);
}

}  // namespace
