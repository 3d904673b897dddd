#include <gtest/gtest.h>

#include <cstdlib>

#include "contract/hresult.h"
#include "diagnostics/error_report.h"
#include "errors_test_installation.h"
#include "platform/process_info.h"

namespace qx {
namespace {

TEST(ErrorsReportTest, QXMensReceivesTheTenValuesInOrder) {
  TestInstallation installation(true);
  const std::string log = installation.dir() + "/qxmens.log";
  setenv("QX_FAKE_QXMENS_LOG", log.c_str(), 1);
  ReportaErro(E_QXCR_FALHA_INTERNA, static_cast<HRESULT>(0x8004EAC5u), "EMP1", "QXCN_Lancamento",
              321, "f1 (10)\nf2");
  ReportaErro(E_QXCR_FALHA_INTERNA, static_cast<HRESULT>(0x8004EAF0u), nullptr, "T_QXUnknown", 7,
              "Expression = x");
  unsetenv("QX_FAKE_QXMENS_LOG");

  const std::string executable = ExecutablePath().substr(0, kMaxCaminhoExecutavel);
  EXPECT_EQ(ReadAll(log), "81080BB1\t8004EAC5\t7FFFFFFF\tEMP1\tQXCN_Lancamento\t321\t1\t<null>\t" +
                              executable +
                              "\tf1 (10)\\nf2\n"
                              "81080BB1\t8004EAF0\t7FFFFFFF\t<null>\tT_QXUnknown\t7\t1\t<null>\t" +
                              executable + "\tExpression = x\n");
}

TEST(ErrorsReportTest, MissingLibraryOrInstallationIsANoOp) {
  {
    TestInstallation installation(false);
    ReportaErro(E_QXCR_FALHA_INTERNA, E_FAIL, "EMP1", "u", 1, "t");
  }
  TestRegistry empty;
  ReportaErro(E_QXCR_FALHA_INTERNA, E_FAIL, nullptr, nullptr, 0, nullptr);
  SUCCEED();
}

}  // namespace
}  // namespace qx
