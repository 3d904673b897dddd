// The last-error holder and its interface record.
#include <cstring>
#include <string>

#include "outside/business/qx_ultimo_erro.h"
#include "outside_test_company.h"

namespace qx {
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
  erro.lCodigoCampo = 5;
  erro.nTipoErro = -7;
  erro.usNumeroServidor = 10;
  erro.strMensagem = std::string(400, 'm');  // longer than its field
  erro.strEmpresa = "ACME";

  _REG_DF_ERROPS record;
  std::memset(&record, 0xCD, sizeof record);
  erro.CopiarPara(&record);
  EXPECT_EQ(At<uint32_t>(record, 0), 0x80EE0004u);
  EXPECT_EQ(At<int32_t>(record, 4), -2);
  EXPECT_EQ(At<int32_t>(record, 8), 1525);
  EXPECT_EQ(At<int32_t>(record, 20), 5);
  EXPECT_EQ(At<int16_t>(record, 26), -7);
  EXPECT_EQ(At<uint16_t>(record, 28), 10);
  const char* bytes = reinterpret_cast<const char*>(&record);
  EXPECT_EQ(std::string(bytes + 30, 302), std::string(301, 'm') + '\0');
  // The company, then zeros to the end of the record's 480 bytes.
  EXPECT_EQ(std::string(bytes + 332, 148), "ACME" + std::string(144, '\0'));
  erro.CopiarPara(nullptr);  // nothing to fill, no fault
}

TEST(UltimoErroTest, SetErroFormatsTheTextAndTakesTheCompany) {
  Holder holder;
  holder.SetErro(E_FAIL, 3, 42, "falhou %d vez", 1);
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
  holder.SetErro(static_cast<const CQXDadosDF_Erro*>(nullptr));  // ignored
  EXPECT_EQ(holder.GetUltimoHR(), E_POINTER);
  EXPECT_EQ(holder.GetErro().strEmpresa, "OUTRA");

  holder.LimpaErro();
  _REG_DF_ERROPS record;
  holder.GetErro().CopiarPara(&record);
  const _REG_DF_ERROPS zero{};
  EXPECT_EQ(std::memcmp(&record, &zero, sizeof record), 0);
}

}  // namespace
}  // namespace qx
