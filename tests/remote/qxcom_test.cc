// libqxcom: a client reaches the entry service by its ProgID with nothing but the usual calls.
#include "qxcom/qxcom.h"

#include <gtest/gtest.h>

#include "platform/registry.h"
#include "remote_test_support.h"

namespace qx::test {
namespace {

using QxcomTest = RemoteTest;

void RegisterProgIds() {
  const std::string clsid = GuidToBracedText(CLSID_QXCN_Lancamento);
  ASSERT_EQ(RegSetString("HKEY_CLASSES_ROOT\\QXCN_Lancamento.QXCN_Lancamento.1\\CLSID", "", clsid),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetString("HKEY_CLASSES_ROOT\\QXCN_Lancamento.QXCN_Lancamento\\CurVer", "",
                         "QXCN_Lancamento.QXCN_Lancamento.1"),
            ERROR_SUCCESS);
}

TEST_F(QxcomTest, CreatesTheServiceByProgId) {
  RegisterProgIds();
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  CLSID clsid = {};
  ASSERT_EQ(CLSIDFromProgID(u"QXCN_Lancamento.QXCN_Lancamento", &clsid), S_OK);
  EXPECT_EQ(clsid, CLSID_QXCN_Lancamento);
  MULTI_QI qi = {&IID_IQXCN_Lancamento, nullptr, S_OK};
  ASSERT_EQ(CoCreateInstanceEx(clsid, nullptr, CLSCTX_LOCAL_SERVER, nullptr, 1, &qi), S_OK);
  auto* servico = static_cast<IQXCN_Lancamento*>(qi.pItf);
  int32_t vivo = 0;
  EXPECT_EQ(servico->KeepAlive(&vivo), S_OK);
  EXPECT_EQ(servico->Release(), 0u);
  CoUninitialize();

  IQXCN_Lancamento* outro = nullptr;
  ASSERT_EQ(CriaServicoLancamento(&outro), S_OK);
  EXPECT_EQ(outro->SetDebito(7), AnswerResult(12));
  EXPECT_EQ(factory_.LastSeen(), "slot 12:07000000|;\n");
  outro->Release();
}

TEST_F(QxcomTest, UnknownProgIdIsReported) {
  IQXCN_Lancamento* servico = reinterpret_cast<IQXCN_Lancamento*>(this);
  EXPECT_EQ(CriaServicoLancamento(&servico), CO_E_CLASSSTRING);
  EXPECT_EQ(servico, nullptr);
  EXPECT_EQ(CriaServicoLancamento(nullptr), E_POINTER);
}

}  // namespace
}  // namespace qx::test
