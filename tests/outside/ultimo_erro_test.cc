// The last-error holder and its interface record.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "outside/qx_ultimo_erro.h"

namespace {

class Holder : public CQXUltimoErro {
 public:
  int rpcErrors = 0;
  void OnErroRPC() override { ++rpcErrors; }
  const char* GetEmpresaErroVirtual() override { return "EMPRESA"; }
};

TEST(UltimoErroTest, CopiarParaFillsTheWholeRecord) {
  CQXDadosDF_Erro erro;
  erro.hr = static_cast<HRESULT>(0x80EE0004u);
  erro.nCodigoErro = -2;
  erro.lCodigoMensagem = 1525;
  erro.iRegistro = 3;
  erro.iItem = 4;
  erro.lCodigoCampo = 5;
  erro.nModuloMensagem = 6;
  erro.nTipoErro = -7;
  erro.usNumeroServidor = 10;
  erro.strMensagem = std::string(400, 'm');  // longer than its field
  erro.strEmpresa = "ACME";

  unsigned char bytes[480];
  std::memset(bytes, 0xCD, sizeof bytes);
  auto* record = reinterpret_cast<_REG_DF_ERROPS*>(bytes);
  erro.CopiarPara(record);
  int32_t i32;
  std::memcpy(&i32, bytes + 0, 4);
  EXPECT_EQ(static_cast<uint32_t>(i32), 0x80EE0004u);
  std::memcpy(&i32, bytes + 4, 4);
  EXPECT_EQ(i32, -2);
  std::memcpy(&i32, bytes + 8, 4);
  EXPECT_EQ(i32, 1525);
  std::memcpy(&i32, bytes + 20, 4);
  EXPECT_EQ(i32, 5);
  int16_t i16;
  std::memcpy(&i16, bytes + 26, 2);
  EXPECT_EQ(i16, -7);
  uint16_t u16;
  std::memcpy(&u16, bytes + 28, 2);
  EXPECT_EQ(u16, 10);
  EXPECT_EQ(std::strlen(reinterpret_cast<const char*>(bytes + 30)), 301u);
  EXPECT_STREQ(reinterpret_cast<const char*>(bytes + 332), "ACME");
  for (int i = 380; i < 480; ++i) EXPECT_EQ(bytes[i], 0) << i;
  for (int i = 337; i < 380; ++i) EXPECT_EQ(bytes[i], 0) << i;

  erro.CopiarPara(nullptr);  // nothing to fill, no fault
}

TEST(UltimoErroTest, SetErroKeepsCodeServerTextAndCompany) {
  Holder holder;
  holder.SetErro(E_FAIL, 3, 42, "falhou %d vez", 1);
  EXPECT_EQ(holder.GetUltimoHR(), E_FAIL);
  EXPECT_EQ(holder.GetNumeroServidorUltimoHR(), 3);
  EXPECT_EQ(holder.GetErro().nCodigoErro, 42);
  EXPECT_EQ(holder.GetErro().strMensagem, "falhou 1 vez");
  EXPECT_EQ(holder.GetErro().strEmpresa, "EMPRESA");
  EXPECT_EQ(holder.rpcErrors, 0);

  holder.SetErro(static_cast<HRESULT>(0x800706BAu), 1, 0);  // RPC server unavailable
  EXPECT_EQ(holder.GetErro().strMensagem, "");
  EXPECT_EQ(holder.rpcErrors, 1);

  CQXDadosDF_Erro other;
  other.hr = E_POINTER;
  other.strEmpresa = "OUTRA";
  holder.SetErro(&other);
  EXPECT_EQ(holder.GetErro().strEmpresa, "OUTRA");
  holder.SetErro(static_cast<const CQXDadosDF_Erro*>(nullptr));
  EXPECT_EQ(holder.GetUltimoHR(), E_POINTER);

  holder.LimpaErro();
  _REG_DF_ERROPS record;
  holder.GetErro().CopiarPara(&record);
  const _REG_DF_ERROPS zero{};
  EXPECT_EQ(std::memcmp(&record, &zero, sizeof record), 0);
}

}  // namespace
