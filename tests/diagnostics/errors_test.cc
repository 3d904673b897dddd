// HRESULTs: their parts, names and descriptions, the codes of machine faults, errno values
// and thrown objects, the error log's lines and file, and the reports to QXMens.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cinttypes>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <stdexcept>
#include <tuple>
#include <utility>

#include "contract/code_names.h"
#include "contract/hresult.h"
#include "diagnostics/code_description.h"
#include "diagnostics/errno_codes.h"
#include "diagnostics/error_log.h"
#include "diagnostics/error_report.h"
#include "diagnostics/exceptions.h"
#include "diagnostics/machine_faults.h"
#include "diagnostics/profiler_state.h"
#include "diagnostics/system_messages.h"
#include "diagnostics/translate.h"
#include "diagnostics/versions.h"
#include "diagnostics/win32_errors.h"
#include "diagnostics_fixture.h"
#include "platform/file_exception.h"
#include "platform/process_info.h"

namespace qx {
namespace {

using ::testing::MatchesRegex;

constexpr HRESULT H(uint32_t code) { return static_cast<HRESULT>(code); }

TEST(ErrorsModelTest, HresultPartsIgnoredCodeListMachineFaultsAndErrnoValues) {
  const std::tuple<HRESULT, int, int, int> parts[] = {{E_QXCR_NAO_INICIALIZADO, 1, 264, 2564},
                                                      {0x000405F7, 0, FACILITY_ITF, 0x05F7},
                                                      {H(0xFFFFFFFFu), 1, 0x1FFF, 0xFFFF}};
  for (const auto& [hr, severity, facility, code] : parts) {
    EXPECT_EQ(HresultSeverity(hr), severity) << std::hex << hr;
    EXPECT_EQ(HresultFacility(hr), facility) << std::hex << hr;  // thirteen bits
    EXPECT_EQ(HresultCode(hr), code) << std::hex << hr;
  }
  // The list ends at its end mark: what follows it is not in it.
  const HRESULT list[] = {H(0x800405F7u), kFimListaCodigos, E_QXCR_SEM_OBJETO};
  EXPECT_TRUE(IgnoredCodeList(H(0x800405F7u), list));
  EXPECT_FALSE(IgnoredCodeList(E_QXCR_SEM_OBJETO, list) ||
               IgnoredCodeList(kFimListaCodigos, list) || IgnoredCodeList(S_OK, nullptr));

  // Machine faults and errno values give their codes.
  const std::pair<uint32_t, uint32_t> faults[] = {{EXCEPTION_ACCESS_VIOLATION, 0x8004EAC5u},
                                                  {EXCEPTION_GUARD_PAGE, 0x8004EAD0u},
                                                  {EXCEPTION_INT_DIVIDE_BY_ZERO, 0x8004EAD3u},
                                                  {EXCEPTION_STACK_OVERFLOW, 0x8004EADAu},
                                                  {0x80000029u, 0x8004EADBu},
                                                  {0xE06D7363u, 0x8004EE47u}};
  for (const auto& [fault, code] : faults) {
    EXPECT_EQ(HresultFromMachineFault(fault), H(code)) << std::hex << fault;
    EXPECT_TRUE(QXIsFatalHresult(H(code))) << std::hex << code;
  }
  for (uint32_t code : {0x8004EAC4u, 0x8004EADCu, 0u, 0x81080BB1u}) {
    EXPECT_FALSE(QXIsFatalHresult(H(code))) << std::hex << code;
  }
  // Only the twenty-two machine faults are caught, not 0x80000029 or a C++ throw.
  EXPECT_TRUE(MachineFaultHandled(EXCEPTION_ACCESS_VIOLATION) &&
              MachineFaultHandled(EXCEPTION_SINGLE_STEP));
  EXPECT_FALSE(MachineFaultHandled(0x80000029u) || MachineFaultHandled(0xE06D7363u));

  // The runtime's numbering has gaps (15, 26, 35, 37, 43..79): those are unknown.
  const std::pair<int, uint32_t> known[] = {
      {1, 0x8004EADCu},  {14, 0x8004EAE9u},       {16, 0x8004EAEAu}, {25, 0x8004EAF3u},
      {27, 0x8004EAF4u}, {34, 0x8004EAFBu},       {36, 0x8004EAFCu}, {38, 0x8004EAFDu},
      {42, 0x8004EB01u}, {STRUNCATE, 0x8004EB02u}};
  for (const auto& [value, code] : known)
    EXPECT_EQ(HresultFromRuntimeErrno(value), H(code)) << value;
  for (int unknown : {0, 15, 26, 35, 37, 43, 79, 81, -1}) {
    EXPECT_EQ(HresultFromRuntimeErrno(unknown), H(0x8004EA60u)) << unknown;
  }
  // The platform's errno is read as the runtime's number first.
  const std::pair<int, int> platform[] = {{EACCES, 13},    {EDEADLK, 36}, {ENAMETOOLONG, 38},
                                          {ENOTEMPTY, 41}, {EILSEQ, 42},  {ETXTBSY, 26},
                                          {EOVERFLOW, 0}};
  for (const auto& [value, runtime] : platform) {
    EXPECT_EQ(RuntimeErrnoFromPlatform(value), runtime) << value;
  }
  for (const auto& [value, code] :
       {std::pair{EINVAL, 0x8004EAF0u}, {EILSEQ, 0x8004EB01u}, {ETXTBSY, 0x8004EA60u}}) {
    errno = value;
    EXPECT_EQ(HresultFromCurrentErrno(), H(code)) << value;
  }
}

TEST(ErrorsNamesTest, NamesAndSystemMessageTextThenTheDescriptionThenTheName) {
  // Code, text with the message library, text without it.
  const std::tuple<HRESULT, std::string, std::string> casos[] = {
      {H(0x800706BAu), "O servidor RPC n\343o est\341 dispon\355vel.",
       "O servidor RPC n\343o est\341 dispon\355vel."},
      {H(0x80070002u), "O sistema n\343o pode encontrar o arquivo especificado.",
       "O sistema n\343o pode encontrar o arquivo especificado."},
      {H(0x80040005u), "Acesso negado ao arquivo.", "Acesso negado ao arquivo."},
      {H(0x8001FFFFu), "Mensagem 8001FFFF", "RPC_E_UNEXPECTED"},
      {E_QXCR_NAO_INICIALIZADO, "Mensagem 81080A04", ""},
  };
  for (bool comBiblioteca : {true, false}) {
    TestInstallation installation(comBiblioteca);
    for (const auto& [hr, comTexto, semTexto] : casos) {
      EXPECT_EQ(TextoMensagemSistema(hr), comBiblioteca ? comTexto : semTexto) << std::hex << hr;
    }
  }
  // The suite's descriptions: codes outside the fixed table, and the table's numbers in other
  // facilities, are the message library's.
  TestInstallation installation(true);
  const std::pair<HRESULT, std::string> descriptions[] = {
      {H(0x80040001u), "Registro n\343o encontrado."},
      {H(0x00040001u), "Registro n\343o encontrado."},
      {H(0x80040508u), "Mensagem 80040508"},
      {H(0x80070001u), "Mensagem 80070001"},
      {H(0x8004FFFFu), std::string(399, 'x')}};  // at most 399
  for (const auto& [hr, text] : descriptions) EXPECT_EQ(QXDescricaoHresult(hr), text);
  EXPECT_FALSE(QXDescricaoHresult(H(0x80040923u)).empty());  // 2339

  // The log-line tests read the common names; these are the edges of the tables.
  EXPECT_EQ(SeverityName(E_FAIL), "SEVERITY_ERROR");
  EXPECT_EQ(FacilityName(S_OK), "FACILITY_NULL");
  EXPECT_FALSE(FacilityName(H(0x80EC0000u)).empty());  // 236
  // Gaps of the SDK's numbering and facilities past its last.
  for (uint32_t facility : {5u, 235u, 256u, 270u, 2185u}) {
    EXPECT_EQ(FacilityName(H(0x80000000u | (facility << 16))),
              "Desconhecido ou novo c\363digo de FACILITY")
        << facility;
  }
  EXPECT_EQ(CodeName(S_OK), "ERROR_SUCCESS");
  EXPECT_EQ(CodeName(H(0x8007271Du)), "WSAEACCES");
  // Facility 4 codes are the suite's own: no system name.
  EXPECT_EQ(CodeName(H(0x80040005u)) + CodeName(H(0x8007FFFEu)), "");
  EXPECT_EQ(SymbolicName(S_OK), "S_OK");
  EXPECT_EQ(SymbolicName(H(0x8001FFFFu)), "RPC_E_UNEXPECTED");
  EXPECT_EQ(SymbolicName(E_QXCR_NAO_INICIALIZADO), "");
}

template <typename Thrower>
HRESULT Translated(Thrower thrower) {
  try {
    thrower();
  } catch (...) {
    return QXTranslateThrownExceptionToHresult();
  }
  ADD_FAILURE() << "nothing was thrown";
  return S_OK;
}

TEST(ErrorsTranslateTest, EachKindOfThrownObjectGivesItsCodeAndQXExceptionItsReportText) {
  EXPECT_EQ(Translated([] { throw _com_error(E_NOINTERFACE); }), E_NOINTERFACE);
  EXPECT_EQ(Translated([] { throw CQXExceptionEx(E_FAIL); }), E_FAIL);
  EXPECT_EQ(Translated([] { throw new CQXException("texto", 1, 5); }), H(0x80040005u));
  EXPECT_EQ(Translated([] { throw new CQXException("texto", 1, 0); }), H(0x8004EA61u));
  EXPECT_EQ(Translated([] { throw new CMemoryException(); }), H(0x8004EA62u));
  EXPECT_EQ(Translated([] { throw new CInvalidArgException(); }), H(0x8004EA67u));
  EXPECT_EQ(Translated([] { throw new CException(); }), H(0x8004EA63u));
  EXPECT_EQ(Translated([] { throw H(0x8004EAF0u); }), H(0x8004EAF0u));
  EXPECT_EQ(Translated([] { throw HRESULT{0}; }), S_OK);
  EXPECT_EQ(Translated([] { throw std::bad_alloc(); }), H(0x8004EA64u));
  EXPECT_EQ(Translated([] { throw std::runtime_error("x"); }), H(0x8004EA65u));
  EXPECT_EQ(Translated([] { throw 1.5; }), H(0x8004EA66u));
  // A thrown null pointer used to crash the translation.
  EXPECT_EQ(Translated([] { throw static_cast<CQXException*>(nullptr); }), H(0x8004EA61u));
  EXPECT_EQ(QXTranslateThrownExceptionToHresult(), H(0x8004EA66u));  // nothing in flight

  // A file failure: the errno, as its Windows system error, decides over a generic cause;
  // without an OS error, or with one Windows has no match for, the cause decides; and a
  // failure never translates to success.
  const std::tuple<int, long, uint32_t> files[] = {
      {CFileException::fileNotFound, ENOENT, 0x80070002u},
      {CFileException::accessDenied, EACCES, 0x80070005u},
      {CFileException::diskFull, ENOSPC, 0x80070070u},
      {CFileException::genericException, ENOENT, 0x80070002u},
      {CFileException::badSeek, -1, 0x80070083u},
      {CFileException::endOfFile, EOVERFLOW, 0x80070026u},
      {CFileException::none, -1, 0x8007001Fu}};
  for (const auto& [cause, osError, code] : files) {
    EXPECT_EQ(Translated([c = cause, e = osError] { throw new CFileException(c, e); }), H(code))
        << cause;
  }
  // Share modes and locks are emulated: their cause wins over the errno.
  EXPECT_EQ(Win32ErrorOf(CFileException(CFileException::sharingViolation, EAGAIN)), 32);
  EXPECT_EQ(Win32ErrorOf(CFileException(CFileException::lockViolation, EACCES)), 33);

  // The report text of the suite's own exception.
  EXPECT_EQ(CQXException("GetCurrentTime_LocalTime: FileTimeToSystemTime", 1, 0).TextoRelatorio(),
            "GetCurrentTime_LocalTime: FileTimeToSystemTime");
  EXPECT_EQ(CQXException("", 1, 0, 77).TextoRelatorio(),
            "Erro desconhecido encontrado. C\363digo (77)");
  const std::string prefix = "falhou\nErro do SO: 13 - ";
  const std::string withOs = CQXException("falhou", 1, EACCES).TextoRelatorio();
  EXPECT_EQ(withOs.rfind(prefix, 0), 0u) << withOs;
  EXPECT_GT(withOs.size(), prefix.size());
}

TEST(ErrorsReportTest, QXMensReceivesTheTenValuesInOrderAndNothingWithoutIt) {
  {
    TestInstallation installation(true);
    const std::string log = installation.dir() + "/qxmens.log";
    setenv("QX_FAKE_QXMENS_LOG", log.c_str(), 1);
    ReportaErro(E_QXCR_FALHA_INTERNA, H(0x8004EAC5u), "EMP1", "QXCN_Lancamento", 321,
                "f1 (10)\nf2");
    ReportaErro(E_QXCR_FALHA_INTERNA, H(0x8004EAF0u), nullptr, "T_QXUnknown", 7, "Expression = x");
    unsetenv("QX_FAKE_QXMENS_LOG");
    const std::string executable = ExecutablePath().substr(0, kMaxCaminhoExecutavel);
    EXPECT_EQ(ReadText(log),
              "81080BB1\t8004EAC5\t7FFFFFFF\tEMP1\tQXCN_Lancamento\t321\t1\t<null>\t" + executable +
                  "\tf1 (10)\\nf2\n"
                  "81080BB1\t8004EAF0\t7FFFFFFF\t<null>\tT_QXUnknown\t7\t1\t<null>\t" +
                  executable + "\tExpression = x\n");
  }
  // A missing library or installation is no failure.
  {
    TestInstallation installation(false);
    ReportaErro(E_QXCR_FALHA_INTERNA, E_FAIL, "EMP1", "u", 1, "t");
  }
  TestRegistry empty;
  ReportaErro(E_QXCR_FALHA_INTERNA, E_FAIL, nullptr, nullptr, 0, nullptr);
}

TEST(ErrorLogTest, HresultAndStatusLinesFieldByFieldAndFourPartVersions) {
  TestInstallation installation(true);
  EXPECT_EQ(LinhaLogHresult("hr", "pfInSEHFuncao()", E_ACCESSDENIED),
            "hr = pfInSEHFuncao()\thr = 0X80070005 Mensagem 80070005\tSEVERITY = 1 SEVERITY_ERROR\t"
            "FACILITY = 7 FACILITY_WIN32\tCODE = 5 ERROR_ACCESS_DENIED\tDescri\347\343o = "
            "E_ACCESSDENIED");
  EXPECT_EQ(
      LinhaLogHresult("m_hrConstruct", "QXTranslateThrownExceptionToHresult()", H(0x80040005u)),
      "m_hrConstruct = QXTranslateThrownExceptionToHresult()\tm_hrConstruct = 0X80040005 "
      "Acesso negado ao arquivo.\tSEVERITY = 1 SEVERITY_ERROR\tFACILITY = 4 FACILITY_ITF\t"
      "CODE = 5 \tDescri\347\343o = OLE_E_NOTRUNNING");
  EXPECT_EQ(LinhaLogStatus("iRetorno = arq.Le()", "iRetorno", 16055, H(0x80043EB7u)),
            "iRetorno = arq.Le()\tiRetorno = 16055\tHR = 0X80043EB7\tDescri\347\343o = "
            "Mensagem 80043EB7");
  EXPECT_EQ(LinhaLogStatus("x", "iRetorno", 0, S_OK),
            "x\tiRetorno = 0\tHR = 0\tDescri\347\343o = Mensagem 00000000");

  // Versions are four-part numbers.
  const std::pair<const char*, const char*> versions[] = {{"6.1.0-18-amd64", "6.1.0.18"},
                                                          {"0.1.0", "0.1.0.0"},
                                                          {"", "0.0.0.0"},
                                                          {"5.15.0.1.2", "5.15.0.1"},
                                                          {"99999999999", "65535.0.0.0"}};
  for (const auto& [text, version] : versions) EXPECT_EQ(FourPartVersion(text), version);
  EXPECT_THAT(VersaoSistema(), MatchesRegex("[0-9]+\\.[0-9]+\\.[0-9]+\\.[0-9]+"));
  // The suite's version is the project's version in CMakeLists.txt, to the letter: a pattern
  // would read the version's dots as any character.
  const std::string projeto = "project(ostrel VERSION " + std::string(kVersaoProjeto);
  EXPECT_THAT(ReadText(std::string(QX_SOURCE_DIR) + "/CMakeLists.txt"),
              ::testing::AnyOf(::testing::HasSubstr(projeto + " "),
                               ::testing::HasSubstr(projeto + ")")));
  EXPECT_EQ(VersaoSuite(), FourPartVersion(kVersaoProjeto));
}

// The error file of a failure without company: one header line, one record.
TEST(ErrorLogTest, GoldenErrorRecordAndFreeFormatLineInTheInstallationErrorFile) {
  TestInstallation installation(true);
  ForgetProfilerConfigurationForTesting();  // the profiler reads the new folder afresh
  // The text of the error file of failures without company.
  auto errorFileText = [&installation] {
    for (const auto& entry : std::filesystem::directory_iterator(installation.folder())) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("QXProfilerErros_Pgms_", 0) == 0) {
        EXPECT_THAT(name, MatchesRegex("QXProfilerErros_Pgms_[0-9]{6}\\.log"));
        return ReadText(entry.path().string());
      }
    }
    ADD_FAILURE() << "no error file in " << installation.folder();
    return std::string();
  };
  QXGravaLogHresult(nullptr, "CQXCN_Lancamento::GetCredito", "QXCN_Lancamento", 120, "hr",
                    "pfInSEHFuncao()", E_QXCR_NAO_INICIALIZADO);
  const std::string text = errorFileText();
  const std::string record = text.substr(text.find('\n') + 1);
  ASSERT_FALSE(record.empty()) << text;
  EXPECT_EQ(record.find('\n'), record.size() - 1) << "one record line";
  ExpectGolden(record.substr(0, record.size() - 1),
               RecordStart("CQXCN_Lancamento::GetCredito", false) +
                   "ERRO\t<N>\t<N>\t<N>\t0.1.0.0\t" + VersaoSistema() +
                   "\tQXCN_Lancamento\t120\thr = pfInSEHFuncao()\thr = 0X81080A04 Mensagem "
                   "81080A04\tSEVERITY = 1 SEVERITY_ERROR\tFACILITY = 264 QX_FACILITY_CR_CORE\t"
                   "CODE = 2564 \tDescri\347\343o = \t");

  // A free-format line uses its values.
  QXGravaLogErro(nullptr,
                 "T_QXUnknown<struct IQXCN_Lancamento,class CLancamentoBase>::Inicializa_Padrao",
                 "T_QXUnknown", 9, "%s\tSEVERITY = %d\tFACILITY = %d\tCODE = %d\tN = %" PRId64,
                 "E_QXCR_VERSAO_INCOMPATIVEL", 1, 264, 3069, int64_t{1} << 40);
  EXPECT_NE(errorFileText().find(
                "\tT_QXUnknown\t9\tE_QXCR_VERSAO_INCOMPATIVEL\tSEVERITY = 1\tFACILITY = 264\tCODE "
                "= 3069\tN = 1099511627776\t"),
            std::string::npos);
  ForgetProfilerConfigurationForTesting();
}

}  // namespace
}  // namespace qx
