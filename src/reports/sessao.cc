#include "reports/sessao.h"

#include <vector>

#include "contract/profiler_identity.h"
#include "platform/registry.h"
#include "qxcom/qxcom.h"
#include "reports/falha.h"

namespace qx {
namespace {

constexpr char16_t kProgId[] = u"QXCN_Lancamento.QXCN_Lancamento";
constexpr char kChaveUsuario[] = "HKEY_CURRENT_USER\\Software\\QX Sistemas\\QXCN";
constexpr char kValorEmpresa[] = "Empresa";

std::vector<std::string> EmpresasDoServico(IQXCN_Lancamento* lancamento) {
  ULONG quantidade = 0;
  Verifica(lancamento->GetQuantidadeEmpresas(&quantidade), "GetQuantidadeEmpresas");
  std::vector<EmpresasLancamento> lista(quantidade);
  if (quantidade > 0) Verifica(lancamento->GetEmpresas(quantidade, lista.data()), "GetEmpresas");
  std::vector<std::string> empresas;
  for (const EmpresasLancamento& e : lista) empresas.push_back(FieldText(e.NomeEmpresa));
  return empresas;
}

// The first company of the installation, asked of the service itself.
std::string PrimeiraEmpresa(IQXCN_Lancamento* lancamento) {
  const std::vector<std::string> empresas = EmpresasDoServico(lancamento);
  if (empresas.empty()) {
    throw FalhaLocal("a instalação não tem empresas", "crie uma: qxadmin empresa inclui CODIGO");
  }
  return empresas[0];
}

// A new entry service object, not initialised; the caller has initialised
// COM.
IQXCN_Lancamento* CriaObjeto() {
  CLSID clsid{};
  Verifica(CLSIDFromProgID(kProgId, &clsid), "CLSIDFromProgID");
  MULTI_QI pedido{&IID_IQXCN_Lancamento, nullptr, S_OK};
  Verifica(CoCreateInstanceEx(clsid, nullptr, CLSCTX_LOCAL_SERVER, nullptr, 1, &pedido),
           "CoCreateInstanceEx");
  Verifica(pedido.hr, "CoCreateInstanceEx");
  return static_cast<IQXCN_Lancamento*>(pedido.pItf);
}

}  // namespace

std::string EmpresaNomeada(const Identidade& identidade) {
  if (!identidade.empresa.empty()) return identidade.empresa;
  Verifica(CoInitializeEx(nullptr, COINIT_MULTITHREADED), "CoInitializeEx");
  struct Objeto {
    IQXCN_Lancamento* objeto = CriaObjeto();
    ~Objeto() {
      objeto->Release();
      CoUninitialize();
    }
  } objeto;
  return PrimeiraEmpresa(objeto.objeto);
}

std::string EmpresaDoUsuario() {
  std::string empresa;
  if (RegGetString(kChaveUsuario, kValorEmpresa, &empresa) != ERROR_SUCCESS) return "";
  return empresa;
}

void GuardaEmpresaDoUsuario(const std::string& empresa) {
  const Registry registro = Registry::Default();
  if (registro.SetString(kChaveUsuario, kValorEmpresa, empresa) != ERROR_SUCCESS) {
    throw FalhaLocal("não consegui gravar a empresa em " + registro.user_file(),
                     "confira a pasta e as permissões de QX_REGISTRY_USER");
  }
}

SessaoLancamento::SessaoLancamento(const Identidade& identidade) : identidade_(identidade) {
  Verifica(CoInitializeEx(nullptr, COINIT_MULTITHREADED), "CoInitializeEx");
  lancamento_.objeto = CriaObjeto();
  if (identidade_.empresa.empty()) {
    identidade_.empresa = PrimeiraEmpresa(lancamento_.objeto);
    identidade_.origem = "a primeira da instalação";
  }
  LembraPastaDaSessao(identidade_.empresa);
  const _REG_DF_INICIALIZAPS registro = RegistroInicializacaoCliente(
      {identidade_.empresa, identidade_.usuario, identidade_.sessao, "QXCN", "qxcn", "sessao.cc",
       __LINE__});
  Verifica(
      lancamento_.objeto->Inicializa_Padrao(registro),
      "Inicializa_Padrao (empresa " + identidade_.empresa + ", de " + identidade_.origem + ")");
}

IQXCN_LancamentoLote* SessaoLancamento::Lote() {
  if (lote_.objeto == nullptr) {
    void* lote = nullptr;
    Verifica(lancamento_.objeto->QueryInterface(IID_IQXCN_LancamentoLote, &lote),
             "QueryInterface (interface de lote)");
    lote_.objeto = static_cast<IQXCN_LancamentoLote*>(lote);
  }
  return lote_.objeto;
}

SessaoLancamento::~SessaoLancamento() { CoUninitialize(); }

std::vector<std::string> Empresas(SessaoLancamento& servico) {
  return EmpresasDoServico(servico.operator->());
}

}  // namespace qx
