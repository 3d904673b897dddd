#include "servico.h"

#include <cstdio>

#include "common/falhas.h"
#include "diagnostics/profiler_identity.h"
#include "platform/com_runtime_hooks.h"
#include "platform/environment.h"
#include "platform/registry.h"
#include "qxcom/qxcom.h"

namespace qxcn {
namespace {

using qx::cli::FalhaLocal;
using qx::cli::Verifica;

constexpr char16_t kProgId[] = u"QXCN_Lancamento.QXCN_Lancamento";
constexpr char kChaveUsuario[] = "HKEY_CURRENT_USER\\Software\\QX Sistemas\\QXCN";
constexpr char kValorEmpresa[] = "Empresa";

// The first company of the installation, asked of the service itself.
std::string PrimeiraEmpresa(IQXCN_Lancamento* lancamento) {
  ULONG quantidade = 0;
  Verifica(lancamento->GetQuantidadeEmpresas(&quantidade), "GetQuantidadeEmpresas");
  if (quantidade == 0) {
    throw FalhaLocal("a instalação não tem empresas", "crie uma: qxadmin company add CODIGO");
  }
  std::vector<EmpresasLancamento> empresas(quantidade);
  Verifica(lancamento->GetEmpresas(quantidade, empresas.data()), "GetEmpresas");
  return qx::FieldText(empresas[0].NomeEmpresa);
}

}  // namespace

std::vector<qx::cli::Opcao> OpcoesIdentidade() {
  return {
      {"empresa", "CODIGO", "a empresa (senão QX_EMPRESA, a de qxcn empresa usar, ou a primeira)"},
      {"usuario", "N", "o usuário do serviço (1 por omissão)"},
      {"sessao", "N", "a sessão do serviço (4096 por omissão)"}};
}

Identidade LeIdentidade(const qx::cli::Argumentos& argumentos) {
  Identidade identidade;
  const std::pair<std::string, const char*> fontes[] = {
      {argumentos.Valor("empresa").value_or(""), "--empresa"},
      {qx::GetEnvironmentText("QX_EMPRESA"), "QX_EMPRESA"},
      {EmpresaDoUsuario(), "qxcn empresa usar"}};
  for (const auto& [empresa, origem] : fontes) {
    if (empresa.empty()) continue;
    identidade.empresa = empresa;
    identidade.origem = origem;
    break;
  }
  if (const auto usuario = argumentos.Inteiro("usuario", 1, UINT16_MAX)) {
    identidade.usuario = static_cast<uint32_t>(*usuario);
  }
  if (const auto sessao = argumentos.Inteiro("sessao", 4096, UINT32_MAX)) {
    identidade.sessao = static_cast<uint32_t>(*sessao);
  }
  return identidade;
}

std::string EmpresaDoUsuario() {
  std::string empresa;
  if (RegGetString(kChaveUsuario, kValorEmpresa, &empresa) != ERROR_SUCCESS) return "";
  return empresa;
}

void GuardaEmpresaDoUsuario(const std::string& empresa) {
  const qx::Registry registro = qx::Registry::Default();
  if (registro.SetString(kChaveUsuario, kValorEmpresa, empresa) != ERROR_SUCCESS) {
    throw FalhaLocal("não consegui gravar a empresa em " + registro.user_file(),
                     "confira a pasta e as permissões de QX_REGISTRY_USER");
  }
}

Servico::Servico(const Identidade& identidade) : identidade_(identidade) {
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
  lancamento_.objeto = static_cast<IQXCN_Lancamento*>(pedido.pItf);
  if (identidade_.empresa.empty()) {
    identidade_.empresa = PrimeiraEmpresa(lancamento_.objeto);
    identidade_.origem = "a primeira da instalação";
  }
  const _REG_DF_INICIALIZAPS registro = qx::RegistroInicializacaoCliente(
      {identidade_.empresa, identidade_.usuario, identidade_.sessao, "QXCN", "qxcn", "servico.cc",
       __LINE__});
  Verifica(
      lancamento_.objeto->Inicializa_Padrao(registro),
      "Inicializa_Padrao (empresa " + identidade_.empresa + ", de " + identidade_.origem + ")");
}

Servico::~Servico() { CoUninitialize(); }

}  // namespace qxcn
