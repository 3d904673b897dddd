// The object's states: creation, the checks of Inicializa_Padrao, the calls
// that run in every state, the interfaces it answers, what it writes to the
// profiler, and the entry service object as clients create it.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <sstream>
#include <thread>
#include <vector>

#include "outside/database/suite_database.h"
#include "test_business.h"
#include "values/crc64.h"

namespace qx {
namespace {

using FrameState = FrameTest;

TEST_F(FrameState, FreshObjectRefusesCallsSilently) {
  company_.WriteLogIni("Entrada=1\r\nSaida=1\r\n");
  Lancamento objeto = NovoLancamento();
  const size_t profiler = TestCompany::ReadAll(ProfilerLog()).size();
  const int erros = company_.ErrorLines();
  EXPECT_EQ(objeto->SetDebito(kNormal), E_QXCR_NAO_INICIALIZADO);
  EXPECT_EQ(objeto->SetDebito(kAcessoInvalido), E_QXCR_NAO_INICIALIZADO);
  _REG_DF_FUNCAO_GENERICAPS entrada{};
  EXPECT_EQ(objeto->FuncaoGenerica(1, entrada, nullptr), E_QXCR_NAO_INICIALIZADO);
  EXPECT_EQ(TestCompany::ReadAll(ProfilerLog()).size(), profiler);
  EXPECT_EQ(company_.ErrorLines(), erros);

  // These run in every state.
  ULONG quantidade = 0;
  EXPECT_EQ(objeto->GetQuantidadeEmpresas(&quantidade), S_OK);
  EXPECT_EQ(quantidade, 7u);
  EXPECT_GT(TestCompany::ReadAll(ProfilerLog()).size(), profiler);
  int32_t ok = 0;
  EXPECT_EQ(objeto->KeepAlive(&ok), S_OK);
  EXPECT_EQ(ok, 1);
  EXPECT_EQ(objeto->KeepAlive(nullptr), S_OK);
  EXPECT_EQ(objeto->GetUltimoErro(nullptr), S_OK);
}

TEST_F(FrameState, InitialisationRecordChecksComeInOrder) {
  Lancamento objeto = NovoLancamento();
  _REG_DF_INICIALIZAPS registro = RegistroInicializacao();
  registro.usVersaoTarvo = 114;
  EXPECT_EQ(objeto->Inicializa_Padrao(registro), E_QXCR_VERSAO_INCOMPATIVEL);

  // A sound CRC over a record without module name fails the structure test;
  // a wrong CRC fails first.
  registro = RegistroInicializacao();
  registro.szModuleName[0] = '\0';
  registro.uiCRC = Crc64Bytes(&registro, 288);
  EXPECT_EQ(objeto->Inicializa_Padrao(registro), E_QXCR_ESTRUTURA_INICIALIZACAO_INVALIDA);
  registro.uiCRC ^= 1;
  EXPECT_EQ(objeto->Inicializa_Padrao(registro), E_QXCR_CRC_INICIALIZACAO_INVALIDO);
  EXPECT_EQ(company_.ErrorLines(), 3) << "each rejection is logged";
  EXPECT_EQ(objeto->SetDebito(kNormal), E_QXCR_NAO_INICIALIZADO);

  ASSERT_EQ(objeto->Inicializa_Padrao(RegistroInicializacao()), S_OK);
  EXPECT_EQ(objeto->SetDebito(kNormal), S_OK);
  // A rejected record keeps the object as it was.
  EXPECT_EQ(objeto->Inicializa_Padrao(registro), E_QXCR_CRC_INICIALIZACAO_INVALIDO);
  EXPECT_EQ(objeto->SetDebito(kNormal), S_OK);

  // With the control disabled a bad record passes, another version does not.
  ASSERT_EQ(RegSetDword(std::string(kSuiteKey), "DesabilitaControleInicializacao", 1),
            ERROR_SUCCESS);
  Lancamento livre = NovoLancamento();
  registro.szAplicativo[0] = '\0';
  registro.usVersaoTarvo = 114;
  EXPECT_EQ(livre->Inicializa_Padrao(registro), E_QXCR_VERSAO_INCOMPATIVEL);
  registro.usVersaoTarvo = 115;
  EXPECT_EQ(livre->Inicializa_Padrao(registro), S_OK);
  EXPECT_EQ(livre->SetDebito(kNormal), S_OK);
}

// A business object that cannot be made, and a COM object too large for memory.
class BusinessSemMemoria : public TestBusiness {
 public:
  BusinessSemMemoria() { throw std::bad_alloc(); }
};

std::atomic<int> g_destruidos{0};
class ObjetoContado : public T_QXUnknown<IQXCN_Lancamento, BusinessSemMemoria> {
 public:
  ~ObjetoContado() override { ++g_destruidos; }
};

class ObjetoGigante : public TestObject {
  [[maybe_unused]] char m_espaco[uint64_t{1} << 47];  // only its size matters
};

TEST_F(FrameState, InterfacesCountsAndCreation) {
  Lancamento objeto = NovoLancamento();
  void* outra = nullptr;
  EXPECT_EQ(objeto->QueryInterface(IID_IUnknown, &outra), S_OK);
  EXPECT_EQ(outra, static_cast<void*>(objeto.get()));
  static_cast<IUnknown*>(outra)->Release();
  EXPECT_EQ(objeto->QueryInterface(CLSID_QXCN_Lancamento, &outra), E_NOINTERFACE);
  EXPECT_EQ(outra, nullptr);
  EXPECT_EQ(objeto->QueryInterface(IID_IQXCN_Lancamento, nullptr), E_POINTER);

  // The count is safe across threads: the object outlives them all.
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 1000; ++i) {
        objeto->AddRef();
        objeto->Release();
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  objeto->AddRef();
  EXPECT_EQ(objeto->Release(), 1u);

  void* criado = nullptr;
  IUnknown* externo = objeto.get();
  EXPECT_EQ(CriaObjeto<TestObject>(externo, IID_IUnknown, &criado), CLASS_E_NOAGGREGATION);
  // A failed creation gives its code and destroys the object.
  criado = &criado;
  EXPECT_EQ(CriaObjeto<ObjetoContado>(nullptr, IID_IQXCN_Lancamento, &criado),
            static_cast<HRESULT>(0x8004EA64u));
  EXPECT_EQ(criado, nullptr);
  EXPECT_EQ(g_destruidos, 1);
  EXPECT_GE(company_.ErrorLines(), 1) << "m_hrConstruct is logged";
  EXPECT_EQ(CriaObjeto<ObjetoGigante>(nullptr, IID_IQXCN_Lancamento, &criado), E_OUTOFMEMORY);
}

// The logged pairs of each entry record ("ENTROU") of a frame: what follows the
// five figures after the record's type.
std::vector<std::string> Pares(const std::string& log, const std::string& frame) {
  std::vector<std::string> pares;
  std::istringstream in(log);
  for (std::string linha; std::getline(in, linha);) {
    size_t at = linha.find("\t" + frame + "\t");
    if (at == std::string::npos || (at = linha.find("\tENTROU\t", at)) == std::string::npos) {
      continue;
    }
    for (int t = 0; t < 6 && at != std::string::npos; ++t) at = linha.find('\t', at + 1);
    pares.push_back(at == std::string::npos ? "?" : linha.substr(at + 1));
  }
  return pares;
}

TEST_F(FrameState, EntryRecordsCarryTheLoggedPairs) {
  company_.WriteLogIni("Entrada=1\r\n");
  Lancamento objeto = Inicializado();
  objeto->GravaConferido(123, 45, 'S');
  RegDados dados{};
  int32_t indlan = 77;
  objeto->GravaDados(&dados, &indlan);
  objeto->GravaDados(&dados, nullptr);
  objeto->SetValor(CURRENCY{-1234567});
  objeto->Inicializa_Padrao(RegistroInicializacao());

  const std::string log = TestCompany::ReadAll(ProfilerLog());
  using Lista = std::vector<std::string>;
  EXPECT_EQ(Pares(log, "CQXCN_Lancamento::GravaConferido"),
            Lista{"MesAno = 123\tIndLan = 45\tcConferido = S\t"});
  EXPECT_EQ(Pares(log, "CQXCN_Lancamento::GravaDados"), (Lista{"*IndLan = 77\t", ""}));
  EXPECT_EQ(Pares(log, "CQXCN_Lancamento::SetValor"), Lista{"Valor = -1234567\t"});
  const std::string frame = "T_QXUnknown<struct IQXCN_Lancamento,class CLancamentoBase>::";
  EXPECT_EQ(Pares(log, frame + "Inicializa_Padrao"), (Lista{"", ""}));
  EXPECT_EQ(Pares(log, frame + "T_QXUnknown"), Lista{""});
}

// A business method's failure (here the removal of a missing month) gives the
// system's error, logged, and the object stays; a failed initialisation drops
// the business object.
TEST_F(FrameState, FailedBusinessMethodKeepsTheObjectFailedInitialisationDropsIt) {
  Lancamento servico = NovoLancamento<CQXCN_Lancamento>();
  ASSERT_EQ(servico->Inicializa_Padrao(RegistroInicializacao()), S_OK);
  constexpr uint16_t kMes = 24 * 12 + 3;
  ASSERT_EQ(servico->CriaArquivoMes(kMes), S_OK);
  EXPECT_EQ(servico->ApagaArquivoMes(kMes), S_OK);
  const int erros = company_.ErrorLines();
  EXPECT_EQ(servico->ApagaArquivoMes(kMes), static_cast<HRESULT>(0x80070002u));
  EXPECT_EQ(company_.ErrorLines(), erros + 1);
  EXPECT_EQ(servico->CriaArquivoMes(kMes), S_OK);

  std::filesystem::remove(company_.DfFolder() + kSuiteDatabaseName);
  servico = NovoLancamento<CQXCN_Lancamento>();
  EXPECT_TRUE(FAILED(servico->Inicializa_Padrao(RegistroInicializacao())));
  EXPECT_EQ(servico->CriaArquivoMes(1), E_QXCR_NAO_INICIALIZADO);
  EXPECT_EQ(servico->Inicializa_Padrao(RegistroInicializacao()), E_QXCR_SEM_OBJETO);
}

}  // namespace
}  // namespace qx

// Under the address sanitizer, an allocation beyond its limit gives null.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }
