#include "diagnostics/error_log.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cinttypes>
#include <filesystem>

#include "contract/hresult.h"
#include "diagnostics/profiler_state.h"
#include "diagnostics/versions.h"
#include "errors_test_installation.h"
#include "platform/process_info.h"

namespace qx {
namespace {

using ::testing::MatchesRegex;

// An installation whose folder the profiler reads afresh.
class FreshInstallation : public TestInstallation {
 public:
  explicit FreshInstallation(bool withLibraries) : TestInstallation(withLibraries) {
    ForgetProfilerConfigurationForTesting();
  }
  ~FreshInstallation() { ForgetProfilerConfigurationForTesting(); }

  // The text of the error file of failures without company.
  std::string ErrorFileText() const {
    for (const auto& entry : std::filesystem::directory_iterator(folder())) {
      if (entry.path().filename().string().rfind("QXProfilerErros_Pgms_", 0) == 0) {
        EXPECT_THAT(entry.path().filename().string(),
                    MatchesRegex("QXProfilerErros_Pgms_[0-9]{6}\\.log"));
        return ReadAll(entry.path().string());
      }
    }
    ADD_FAILURE() << "no error file in " << folder();
    return std::string();
  }
};

TEST(ErrorLogTest, HresultAndStatusLinesFieldByField) {
  TestInstallation installation(true);
  EXPECT_EQ(LinhaLogHresult("hr", "pfInSEHFuncao()", E_ACCESSDENIED),
            "hr = pfInSEHFuncao()\thr = 0X80070005 Mensagem 80070005\tSEVERITY = 1 SEVERITY_ERROR\t"
            "FACILITY = 7 FACILITY_WIN32\tCODE = 5 ERROR_ACCESS_DENIED\tDescri\xE7\xE3o = "
            "E_ACCESSDENIED");
  EXPECT_EQ(LinhaLogHresult("m_hrConstruct", "QXTranslateThrownExceptionToHresult()",
                            static_cast<HRESULT>(0x80040005u)),
            "m_hrConstruct = QXTranslateThrownExceptionToHresult()\tm_hrConstruct = 0X80040005 "
            "Acesso negado ao arquivo.\tSEVERITY = 1 SEVERITY_ERROR\tFACILITY = 4 FACILITY_ITF\t"
            "CODE = 5 \tDescri\xE7\xE3o = OLE_E_NOTRUNNING");
  EXPECT_EQ(
      LinhaLogStatus("iRetorno = arq.Le()", "iRetorno", 16055, static_cast<HRESULT>(0x80043EB7u)),
      "iRetorno = arq.Le()\tiRetorno = 16055\tHR = 0X80043EB7\tDescri\xE7\xE3o = "
      "Mensagem 80043EB7");
  EXPECT_EQ(LinhaLogStatus("x", "iRetorno", 0, S_OK),
            "x\tiRetorno = 0\tHR = 0\tDescri\xE7\xE3o = Mensagem 00000000");
}

TEST(ErrorLogTest, VersionsAreFourPartNumbers) {
  EXPECT_EQ(FourPartVersion("6.1.0-18-amd64"), "6.1.0.18");
  EXPECT_EQ(FourPartVersion("0.1.0"), "0.1.0.0");
  EXPECT_EQ(FourPartVersion(""), "0.0.0.0");
  EXPECT_EQ(FourPartVersion("5.15.0.1.2"), "5.15.0.1");
  EXPECT_EQ(FourPartVersion("99999999999"), "65535.0.0.0");
  EXPECT_THAT(VersaoSistema(), MatchesRegex("[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+"));

  // The suite's version is the project's version in CMakeLists.txt.
  const std::string cmake = ReadAll(std::string(QX_SOURCE_DIR) + "/CMakeLists.txt");
  const std::string key = "project(ostrel VERSION ";
  const size_t at = cmake.find(key);
  ASSERT_NE(at, std::string::npos);
  const size_t from = at + key.size();
  const std::string version =
      cmake.substr(from, cmake.find_first_not_of("0123456789.", from) - from);
  EXPECT_EQ(version, kVersaoProjeto);
  EXPECT_EQ(VersaoSuite(), FourPartVersion(version));
}

// The error file of a failure without company: one header line, one record.
TEST(ErrorLogTest, GoldenErrorRecordInTheInstallationErrorFile) {
  FreshInstallation installation(true);
  QXGravaLogHresult(nullptr, "CQXCN_Lancamento::GetCredito", "QXCN_Lancamento", 120, "hr",
                    "pfInSEHFuncao()", E_QXCR_NAO_INICIALIZADO);

  const std::string text = installation.ErrorFileText();
  const std::string record = text.substr(text.find('\n') + 1);
  ASSERT_FALSE(record.empty()) << text;
  EXPECT_EQ(record.find('\n'), record.size() - 1) << "one record line";
  ExpectGolden(record.substr(0, record.size() - 1),
               RecordStart("CQXCN_Lancamento::GetCredito") + "E\tU000\tS00000000\t" +
                   ThreadColumn() + "\t\t0\t0\t\t\t\t\t0\t0\t0\t\tERRO\t<N>\t<N>\t<N>\t0.1.0.0\t" +
                   VersaoSistema() +
                   "\tQXCN_Lancamento\t120\thr = pfInSEHFuncao()\thr = 0X81080A04 Mensagem "
                   "81080A04\tSEVERITY = 1 SEVERITY_ERROR\tFACILITY = 264 QX_FACILITY_CR_CORE\t"
                   "CODE = 2564 \tDescri\xE7\xE3o = \t");
}

TEST(ErrorLogTest, FreeFormatLineUsesItsValues) {
  FreshInstallation installation(false);
  QXGravaLogErro(nullptr,
                 "T_QXUnknown<struct IQXCN_Lancamento,class CLancamentoBase>::"
                 "Inicializa_Padrao",
                 "T_QXUnknown", 9, "%s\tSEVERITY = %d\tFACILITY = %d\tCODE = %d\tN = %" PRId64,
                 "E_QXCR_VERSAO_INCOMPATIVEL", 1, 264, 3069, int64_t{1} << 40);
  const std::string text = installation.ErrorFileText();
  EXPECT_NE(text.find("\tT_QXUnknown\t9\tE_QXCR_VERSAO_INCOMPATIVEL\tSEVERITY = 1\tFACILITY = "
                      "264\tCODE = 3069\tN = 1099511627776\t"),
            std::string::npos)
      << text;
}

}  // namespace
}  // namespace qx
