#include "server/registration.h"

#include "contract/interface_ids.h"
#include "platform/path.h"
#include "platform/registry.h"

namespace qx {
namespace {

std::string Raiz(bool porUsuario) {
  return porUsuario ? "HKEY_CURRENT_USER\\Software\\Classes\\"
                    : "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\";
}

// The key named by a GUID in braces inside the parent key `pai`.
std::string ChaveGuid(const std::string& raiz, const char* pai, const GUID& guid) {
  std::string chave = raiz + pai + "\\";
  chave += GuidToBracedText(guid);
  return chave;
}

std::string ChaveAplicacao(const std::string& raiz) {
  return ChaveGuid(raiz, "AppID", APPID_Ostrel);
}
std::string ChaveClasse(const std::string& raiz) {
  return ChaveGuid(raiz, "CLSID", CLSID_QXCN_Lancamento);
}
std::string ChaveBibliotecaTipos(const std::string& raiz) {
  return ChaveGuid(raiz, "TypeLib", LIBID_OSTRELLib);
}
// The interfaces of the class, each under "Interface" with its name.
struct Interface {
  const IID& iid;
  const char* nome;
};
constexpr Interface kInterfaces[] = {{IID_IQXCN_Lancamento, kNomeInterface},
                                     {IID_IQXCN_LancamentoLote, kNomeInterfaceLote}};

std::string ChaveInterface(const std::string& raiz, const Interface& i) {
  return ChaveGuid(raiz, "Interface", i.iid);
}

std::string LinhaServidor(const std::string& modulo) {
  if (modulo.find_first_of(" \t") == std::string::npos) return modulo;
  std::string linha = "\"";
  linha += modulo;
  linha += '"';
  return linha;
}

HRESULT Aplica(const RegEdit& edicao) {
  return HRESULT_FROM_WIN32(static_cast<int32_t>(RegApply(edicao)));
}

RegEdit RegistroAplicacao(const std::string& raiz) {
  const std::string aplicacao = GuidToBracedText(APPID_Ostrel);
  RegEdit edicao;
  edicao.CreateKey(raiz + "AppID")
      .SetString(ChaveAplicacao(raiz), "", kNomeAplicacao)
      .SetString(raiz + "AppID\\" + kExecutavel, "AppID", aplicacao);
  return edicao;
}

RegEdit RegistroClasse(const std::string& raiz, const std::string& modulo) {
  const std::string classe = ChaveClasse(raiz);
  RegEdit edicao;
  edicao.SetString(raiz + kProgId, "", kDescricaoClasse)
      .SetString(raiz + kProgId + "\\CLSID", "", GuidToBracedText(CLSID_QXCN_Lancamento))
      .SetString(raiz + kProgIdSemVersao, "", kDescricaoClasse)
      .SetString(raiz + kProgIdSemVersao + "\\CurVer", "", kProgId)
      .CreateKey(raiz + "CLSID")
      .DeleteTree(classe)
      .SetString(classe, "", kDescricaoClasse)
      .SetString(classe, "AppID", GuidToBracedText(APPID_Ostrel))
      .SetString(classe + "\\ProgID", "", kProgId)
      .SetString(classe + "\\VersionIndependentProgID", "", kProgIdSemVersao)
      .SetString(classe + "\\LocalServer32", "", LinhaServidor(modulo));
  return edicao;
}

// What registering the type library writes: the library's version key with
// its name, flags, help folder and file, and the interfaces it describes,
// marshalled from the library.
RegEdit RegistroBibliotecaTipos(const std::string& raiz, const std::string& modulo) {
  const std::string versao = ChaveBibliotecaTipos(raiz) + "\\" + kVersaoBibliotecaTipos;
  const size_t separador = LastSeparator(modulo);
  RegEdit edicao;
  edicao.CreateKey(raiz + "TypeLib")
      .DeleteTree(versao)
      .SetString(versao, "", kBibliotecaTipos)
      .SetString(versao + "\\FLAGS", "", "0")
      .SetString(versao + "\\HELPDIR", "",
                 separador == std::string::npos ? "" : modulo.substr(0, separador))
      .SetString(versao + "\\" + kArquivoBibliotecaTipos, "", modulo)
      .CreateKey(raiz + "Interface");
  for (const Interface& i : kInterfaces) {
    const std::string interface = ChaveInterface(raiz, i);
    edicao.DeleteTree(interface)
        .SetString(interface, "", i.nome)
        .SetString(interface + "\\ProxyStubClsid", "", kProxyBibliotecaTipos)
        .SetString(interface + "\\ProxyStubClsid32", "", kProxyBibliotecaTipos)
        .SetString(interface + "\\TypeLib", "", GuidToBracedText(LIBID_OSTRELLib))
        .SetString(interface + "\\TypeLib", "Version", kVersaoBibliotecaTipos);
  }
  return edicao;
}

}  // namespace

HRESULT RegistraServidor(bool porUsuario, const std::string& modulo) {
  const std::string raiz = Raiz(porUsuario);
  HRESULT hr = Aplica(RegistroAplicacao(raiz));
  if (SUCCEEDED(hr)) hr = Aplica(RegistroClasse(raiz, modulo));
  if (SUCCEEDED(hr)) hr = Aplica(RegistroBibliotecaTipos(raiz, modulo));
  return hr;
}

HRESULT DesregistraServidor(bool porUsuario) {
  const std::string raiz = Raiz(porUsuario);
  RegEdit classe;
  for (const Interface& i : kInterfaces) classe.DeleteTree(ChaveInterface(raiz, i));
  classe.DeleteTree(ChaveBibliotecaTipos(raiz))
      .DeleteTree(ChaveClasse(raiz))
      .DeleteTree(raiz + kProgIdSemVersao)
      .DeleteTree(raiz + kProgId);
  HRESULT hr = Aplica(classe);
  if (FAILED(hr)) return hr;
  RegEdit aplicacao;
  aplicacao.DeleteTree(ChaveAplicacao(raiz)).DeleteTree(raiz + "AppID\\" + kExecutavel);
  return Aplica(aplicacao);
}

}  // namespace qx
