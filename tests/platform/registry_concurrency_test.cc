// Several processes writing the same store file keep each other's keys.
#include <gtest/gtest.h>

#include "platform/registry.h"
#include "test_support.h"

namespace qx {
namespace {

constexpr int kWrites = 150;

int WriteKeys(const std::string& file, char who) {
  Registry reg(file, "");
  for (int i = 0; i < kWrites; ++i) {
    std::string key = std::string("HKLM\\SOFTWARE\\") + who + "\\" + std::to_string(i);
    if (reg.SetDword(key, "N", static_cast<uint32_t>(i)) != ERROR_SUCCESS) return 1;
  }
  return 0;
}

TEST(RegistryConcurrency, TwoProcessesWritingAtOnceLoseNothing) {
  test::TempDir dir;
  const std::string file = dir / "m.reg";
  auto body = [&](char who) {
    return [&, who](test::Child& self) {
      self.Send('r');
      if (self.Receive() != 'g') return 2;
      return WriteKeys(file, who);
    };
  };
  test::Child a(body('A')), b(body('B'));
  ASSERT_EQ(a.Receive(), 'r');
  ASSERT_EQ(b.Receive(), 'r');
  a.Send('g');
  b.Send('g');
  EXPECT_EQ(a.Wait(), 0);
  EXPECT_EQ(b.Wait(), 0);

  Registry reg(file, "");
  for (char who : {'A', 'B'}) {
    std::vector<std::string> names;
    ASSERT_EQ(reg.EnumSubKeys(std::string("HKLM\\SOFTWARE\\") + who, &names), ERROR_SUCCESS);
    EXPECT_EQ(names.size(), static_cast<size_t>(kWrites)) << who;
    for (int i = 0; i < kWrites; ++i) {
      uint32_t n = 0;
      EXPECT_EQ(
          reg.GetDword(std::string("HKLM\\SOFTWARE\\") + who + "\\" + std::to_string(i), "N", &n),
          ERROR_SUCCESS);
      EXPECT_EQ(n, static_cast<uint32_t>(i));
    }
  }
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    EXPECT_TRUE(entry.path().filename() == "m.reg" || entry.path().filename() == "m.reg.lock")
        << "no temporary file left: " << entry.path();
  }
}

}  // namespace
}  // namespace qx
