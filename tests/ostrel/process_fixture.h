// A company, a private runtime folder and the ostrel program registered in
// the company's registry: the server starts on demand as clients create
// entry service objects through libqxcom.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "../entries/test_company.h"
#include "../platform/ostrel_program.h"
#include "../platform/runtime_support.h"
#include "platform/clock.h"
#include "platform/localserver_lock.h"
#include "platform/unix_socket.h"
#include "qxcom/qxcom.h"
#include "values/qx_data.h"

namespace qx::test {

class ProcessTest : public ::testing::Test {
 protected:
  static constexpr uint32_t kTempoOciosoMs = 5000;

  ProcessTest() {
    alarm(240);
    RegisterOstrel(runtime_);
  }
  ~ProcessTest() override {
    unsetenv("QX_RUNTIME_DIR");
    alarm(0);
  }

  // True while a server holds the class's lock.
  bool ServerRunning() const {
    return ClassLock::IsHeld(ClassLockPath(runtime_, CLSID_QXCN_Lancamento));
  }
  // Polls until the server is gone; false when it outlives the idle time by
  // far.
  bool WaitGone() const {
    return WaitFor([this] { return !ServerRunning(); });
  }

 public:
  // A new object initialised for the company; null on failure.
  static IQXCN_Lancamento* NewObject(HRESULT* result = nullptr) {
    IQXCN_Lancamento* servico = nullptr;
    HRESULT hr = CriaServicoLancamento(&servico);
    if (SUCCEEDED(hr)) hr = servico->Inicializa_Padrao(RegistroInicializacao());
    if (FAILED(hr) && servico != nullptr) {
      servico->Release();
      servico = nullptr;
    }
    if (result != nullptr) *result = hr;
    return servico;
  }

  // Fills the current entry with a valid entry of the company and saves it
  // as a new one.
  static HRESULT SaveEntry(IQXCN_Lancamento* servico, int32_t documento) {
    HRESULT hr = S_OK;
    for (HRESULT step :
         {servico->SetFilial(1), servico->SetData(CQXData::Make(15, 3, 2024).Value()),
          servico->SetDebito(4), servico->SetCredito(11), servico->SetValor(CURRENCY{1000000}),
          servico->SetDocumento(documento), servico->SetHistorico(1)}) {
      if (FAILED(step) && SUCCEEDED(hr)) hr = step;
    }
    int32_t indlan = 0;
    return SUCCEEDED(hr) ? servico->Grava(&indlan) : hr;
  }

 protected:
  TestCompany company_;
  std::string runtime_ = company_.root() + "/run";
};

}  // namespace qx::test
