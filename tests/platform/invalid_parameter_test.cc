#include "platform/invalid_parameter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <thread>

namespace qx {
namespace {

struct Report {
  std::u16string expression, function, file;
  unsigned line = 0;
  int error = 0;
  int calls = 0;
};
thread_local Report tReport;

void Record(const char16_t* expression, const char16_t* function, const char16_t* file,
            unsigned line, uintptr_t) {
  tReport = {expression, function, file, line, errno, tReport.calls + 1};
}

void Throw(const char16_t*, const char16_t*, const char16_t*, unsigned, uintptr_t) {
  throw static_cast<long>(errno);
}

TEST(InvalidParameter, HandlerGetsTheReportWithErrnoAlreadySet) {
  tReport = {};
  _set_thread_local_invalid_parameter_handler(Record);
  InvalidParameter(u"buffer != nullptr", u"Copy", u"copy.cc", 12);
  EXPECT_EQ(tReport.calls, 1);
  EXPECT_EQ(tReport.expression, u"buffer != nullptr");
  EXPECT_EQ(tReport.function, u"Copy");
  EXPECT_EQ(tReport.file, u"copy.cc");
  EXPECT_EQ(tReport.line, 12u);
  EXPECT_EQ(tReport.error, EINVAL);
  InvalidParameter(u"size <= capacity", u"Copy", u"copy.cc", 13, ERANGE);
  EXPECT_EQ(tReport.error, ERANGE);

  EXPECT_EQ(_set_thread_local_invalid_parameter_handler(Throw), Record);
  EXPECT_THROW(InvalidParameter(u"x", u"f", u"g", 1), long);

  EXPECT_EQ(_set_thread_local_invalid_parameter_handler(nullptr), Throw);
  errno = 0;
  InvalidParameter(u"x", u"f", u"g", 1);  // no handler: the caller fails on its own
  EXPECT_EQ(errno, EINVAL);
}

TEST(InvalidParameter, HandlerSlotIsPerThread) {
  _set_thread_local_invalid_parameter_handler(Throw);
  _invalid_parameter_handler seen = Throw;
  int calls = -1;
  std::thread([&] {
    seen = _get_thread_local_invalid_parameter_handler();
    _set_thread_local_invalid_parameter_handler(Record);
    InvalidParameter(u"x", u"f", u"g", 1);
    calls = tReport.calls;
  }).join();
  EXPECT_EQ(seen, nullptr) << "a new thread starts without a handler";
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(_get_thread_local_invalid_parameter_handler(), Throw) << "untouched by the other";
  _set_thread_local_invalid_parameter_handler(nullptr);
}

}  // namespace
}  // namespace qx
