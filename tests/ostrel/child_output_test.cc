// The child-process runner of the reachability test.
#include "platform/child_output.h"

#include <errno.h>
#include <gtest/gtest.h>

namespace qx {
namespace {

TEST(ChildOutputTest, TakesTheWholeOutputOfAProgram) {
  std::string output = "old";
  EXPECT_EQ(
      RunForOutput({"sh", "-c", "echo one; echo two >&2; printf 'x%.0s' $(seq 3)"}, 20000, &output),
      0);
  EXPECT_EQ(output, "one\nxxx");
  // Arguments reach the program as they are, never through a shell.
  EXPECT_EQ(RunForOutput({"echo", "a;b", "$HOME", "'\""}, 20000, &output), 0);
  EXPECT_EQ(output, "a;b $HOME '\"\n");
}

TEST(ChildOutputTest, MissingProgramsAndLongRunnersAreBounded) {
  std::string output;
  EXPECT_EQ(RunForOutput({"qx-no-such-program"}, 20000, &output), ENOENT);
  EXPECT_EQ(RunForOutput({"/nonexistent/qx"}, 20000, &output), ENOENT);
  EXPECT_EQ(RunForOutput({}, 20000, &output), EINVAL);
  EXPECT_EQ(RunForOutput({"sh", "-c", "echo started; exec sleep 60"}, 300, &output), 0);
  EXPECT_EQ(output, "started\n");
  EXPECT_EQ(RunForOutput({"sh", "-c", "head -c 100000 /dev/zero"}, 20000, &output), 0);
  EXPECT_EQ(output.size(), kMaxChildOutput);
}

}  // namespace
}  // namespace qx
