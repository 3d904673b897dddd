#include "servico.h"

#include <cstdio>
#include <vector>

#include "qxcom/qxcom.h"
#include "diagnostics/profiler_identity.h"
#include "platform/com_runtime_hooks.h"

namespace qxcn {
namespace {

constexpr char16_t kProgId[] = u"QXCN_Lancamento.QXCN_Lancamento";

// The first company of the installation, asked of the service itself.
std::string PrimeiraEmpresa(IQXCN_Lancamento* lancamento) {
  ULONG quantidade = 0;
  Verifica(lancamento->GetQuantidadeEmpresas(&quantidade), "GetQuantidadeEmpresas");
  if (quantidade == 0) throw FalhaLocal{"a instalação não tem empresas"};
  std::vector<EmpresasLancamento> empresas(quantidade);
  Verifica(lancamento->GetEmpresas(quantidade, empresas.data()), "GetEmpresas");
  return qx::FieldText(empresas[0].NomeEmpresa);
}

}  // namespace

Identidade LeIdentidade(const Argumentos& argumentos) {
  Identidade identidade;
  if (const auto empresa = argumentos.Valor("empresa")) identidade.empresa = *empresa;
  if (const auto usuario = argumentos.Inteiro("usuario", 1, UINT16_MAX)) {
    identidade.usuario = static_cast<uint32_t>(*usuario);
  }
  if (const auto sessao = argumentos.Inteiro("sessao", 4096, UINT32_MAX)) {
    identidade.sessao = static_cast<uint32_t>(*sessao);
  }
  return identidade;
}

Servico::Servico(const Identidade& identidade) {
  // What the runtime refuses before it reaches the server (a runtime folder that
  // others could use, a server of another user) says what is wrong and what to do.
  qx::SetRuntimeLogHook([](qx::RuntimeEvent, const std::string& texto) {
    std::fprintf(stderr, "qxcn: %s\n", texto.c_str());
  });
  Verifica(CoInitializeEx(nullptr, COINIT_MULTITHREADED), "CoInitializeEx");
  CLSID clsid{};
  Verifica(CLSIDFromProgID(kProgId, &clsid), "CLSIDFromProgID");
  MULTI_QI pedido{&IID_IQXCN_Lancamento, nullptr, S_OK};
  Verifica(CoCreateInstanceEx(clsid, nullptr, CLSCTX_LOCAL_SERVER, nullptr, 1, &pedido),
           "CoCreateInstanceEx");
  Verifica(pedido.hr, "CoCreateInstanceEx");
  lancamento_ = static_cast<IQXCN_Lancamento*>(pedido.pItf);
  empresa_ = identidade.empresa.empty() ? PrimeiraEmpresa(lancamento_) : identidade.empresa;
  const _REG_DF_INICIALIZAPS registro = qx::RegistroInicializacaoCliente(
      {empresa_, identidade.usuario, identidade.sessao, "QXCN", "qxcn", "servico.cc", __LINE__});
  Verifica(lancamento_->Inicializa_Padrao(registro), "Inicializa_Padrao");
}

Servico::~Servico() {
  if (lancamento_ != nullptr) lancamento_->Release();
  CoUninitialize();
}

}  // namespace qxcn
