// What registration writes to the registry store and what unregistration
// leaves there, in process and through the ostrel program.
#include "server/registration.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "../storage/folders_test_registry.h"
#include "contract/interface_ids.h"
#include "platform/com_runtime.h"
#include "process_fixture.h"

namespace qx {
namespace {

constexpr char kClasses[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes";
constexpr char kUserClasses[] = "HKEY_CURRENT_USER\\Software\\Classes";

std::string Value(const std::string& key, const std::string& name) {
  std::string value;
  return RegGetString(key, name, &value) == ERROR_SUCCESS ? value : "<absent>";
}

std::vector<std::string> SubKeys(const std::string& key) {
  std::vector<std::string> names;
  RegEnumSubKeys(key, &names);
  std::sort(names.begin(), names.end());
  return names;
}

class RegistrationTest : public ::testing::Test {
 protected:
  std::string MachineFile() const { return registry_.dir() + "/machine.reg"; }

  // Every value of the class, the application and the type library under root:
  // the class's server command line and the type library's file.
  static void ExpectRegistered(const std::string& root, const std::string& server,
                               const std::string& file) {
    const std::string clsid = GuidToBracedText(CLSID_QXCN_Lancamento);
    const std::string appid = GuidToBracedText(APPID_Ostrel);
    const std::string libid = GuidToBracedText(LIBID_OSTRELLib);
    const std::string classKey = root + "\\CLSID\\" + clsid;
    const std::string progId = root + "\\QXCN_Lancamento.QXCN_Lancamento";
    const std::string version = root + "\\TypeLib\\" + libid + "\\1.0";
    const std::string iface = root + "\\Interface\\" + GuidToBracedText(IID_IQXCN_Lancamento);
    const std::string typelibMarshaller = "{00020424-0000-0000-C000-000000000046}";
    const std::string values[][3] = {
        {root + "\\AppID\\" + appid, "", "Ostrel"},
        {root + "\\AppID\\Ostrel.EXE", "AppID", appid},
        {progId + ".1", "", "QXCN_Lancamento Class"},
        {progId + ".1\\CLSID", "", clsid},
        {progId, "", "QXCN_Lancamento Class"},
        {progId + "\\CurVer", "", "QXCN_Lancamento.QXCN_Lancamento.1"},
        {classKey, "", "QXCN_Lancamento Class"},
        {classKey, "AppID", appid},
        {classKey + "\\ProgID", "", "QXCN_Lancamento.QXCN_Lancamento.1"},
        {classKey + "\\VersionIndependentProgID", "", "QXCN_Lancamento.QXCN_Lancamento"},
        {classKey + "\\LocalServer32", "", server},
        {version, "", "OSTRELLib"},
        {version + "\\FLAGS", "", "0"},
        {version + "\\HELPDIR", "", file.substr(0, file.rfind('/'))},
        {version + "\\409\\win64", "", file},
        {iface, "", "IQXCN_Lancamento"},
        {iface + "\\ProxyStubClsid", "", typelibMarshaller},
        {iface + "\\ProxyStubClsid32", "", typelibMarshaller},
        {iface + "\\TypeLib", "", libid},
        {iface + "\\TypeLib", "Version", "1.0"},
    };
    for (const auto& [key, name, value] : values) EXPECT_EQ(Value(key, name), value) << key;
    EXPECT_EQ(SubKeys(version), (std::vector<std::string>{"409", "FLAGS", "HELPDIR"}));
  }

  TestRegistry registry_;
};

// A stale key of the class is replaced, a path with blanks quoted, and
// unregistration leaves only the parent keys, empty.
TEST_F(RegistrationTest, RegisterThenUnregisterLeavesOnlyTheParentKeys) {
  const std::string classKey =
      std::string(kClasses) + "\\CLSID\\" + GuidToBracedText(CLSID_QXCN_Lancamento);
  ASSERT_EQ(RegSetString(classKey + "\\InprocServer32", "", "old.dll"), ERROR_SUCCESS);
  const std::string staleVersion =
      std::string(kClasses) + "\\TypeLib\\" + GuidToBracedText(LIBID_OSTRELLib) + "\\1.0";
  ASSERT_EQ(RegSetString(staleVersion + "\\0\\win32", "", "C:\\Ostrel.EXE"), ERROR_SUCCESS);
  ASSERT_EQ(RegistraServidor(false, "/opt/my qx/ostrel"), S_OK);
  ExpectRegistered(kClasses, "\"/opt/my qx/ostrel\"", "/opt/my qx/ostrel");
  EXPECT_EQ(RegKeyExists(classKey + "\\InprocServer32"), ERROR_FILE_NOT_FOUND);
  // The runtime finds the server through either ProgID.
  CLSID clsid{};
  EXPECT_EQ(ClassIdFromProgId("qxcn_lancamento.qxcn_lancamento", &clsid), S_OK);
  EXPECT_EQ(clsid, CLSID_QXCN_Lancamento);

  ASSERT_EQ(DesregistraServidor(false), S_OK);
  EXPECT_EQ(SubKeys(kClasses),
            (std::vector<std::string>{"AppID", "CLSID", "Interface", "TypeLib"}));
  for (const char* parent : {"AppID", "CLSID", "Interface", "TypeLib"}) {
    EXPECT_TRUE(SubKeys(std::string(kClasses) + "\\" + parent).empty()) << parent;
  }
  EXPECT_EQ(ClassIdFromProgId("QXCN_Lancamento.QXCN_Lancamento", &clsid), CO_E_CLASSSTRING);
  // Unregistering what is gone is no error.
  EXPECT_EQ(DesregistraServidor(false), S_OK);
}

TEST_F(RegistrationTest, RoundTripKeepsEveryOtherKeyByteForByte) {
  const std::string other =
      std::string(kClasses) + "\\CLSID\\{00000000-1111-2222-3333-444444444444}";
  ASSERT_EQ(RegSetString(other + "\\LocalServer32", "", "/usr/bin/other"), ERROR_SUCCESS);
  ASSERT_EQ(RegSetString(std::string(kClasses) + "\\AppID\\Other.EXE", "AppID", "{x}"),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetString(std::string(kSuiteKey), "Nome", "valor"), ERROR_SUCCESS);
  // The parent keys stay after the round trip: have them from the start.
  for (const char* parent : {"AppID", "CLSID", "Interface", "TypeLib"}) {
    ASSERT_EQ(RegCreateKey(std::string(kClasses) + "\\" + parent), ERROR_SUCCESS);
  }
  const std::string before = test::ReadText(MachineFile());
  ASSERT_EQ(RegistraServidor(false, "/opt/qx/ostrel"), S_OK);
  ASSERT_EQ(RegistraServidor(false, "/opt/qx/ostrel"), S_OK);
  ASSERT_EQ(DesregistraServidor(false), S_OK);
  EXPECT_EQ(test::ReadText(MachineFile()), before);
}

// Per user first: the machine's store stays untouched.
TEST_F(RegistrationTest, ProgramRegistersItselfAndReportsFailures) {
  const std::string program = test::kOstrel;
  EXPECT_EQ(test::RunOstrel({"-RegServerPerUser"}), 0);
  ExpectRegistered(kUserClasses, program, program);
  EXPECT_EQ(test::ReadText(MachineFile()), "");
  std::string command;
  EXPECT_EQ(LocalServerCommand(CLSID_QXCN_Lancamento, &command), S_OK);
  EXPECT_EQ(command, program);
  EXPECT_EQ(test::RunOstrel({"/UnregServerPerUser"}), 0);
  EXPECT_EQ(SubKeys(kUserClasses),
            (std::vector<std::string>{"AppID", "CLSID", "Interface", "TypeLib"}));
  EXPECT_EQ(LocalServerCommand(CLSID_QXCN_Lancamento, &command), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(test::RunOstrel({"/regserver"}), 0);
  ExpectRegistered(kClasses, program, program);
  EXPECT_EQ(test::RunOstrel({"-UNREGSERVER"}), 0);
  EXPECT_EQ(SubKeys(std::string(kClasses) + "\\CLSID"), std::vector<std::string>{});

  // A store that cannot be written: its folder is a file.
  std::ofstream(registry_.dir() + "/file") << "x";
  setenv("QX_REGISTRY", (registry_.dir() + "/file/machine.reg").c_str(), 1);
  EXPECT_NE(test::RunOstrel({"-RegServer"}), 0);
}

}  // namespace
}  // namespace qx
