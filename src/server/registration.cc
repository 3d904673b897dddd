#include "server/registration.h"

#include "entries/interface_ids.h"
#include "platform/registry.h"

namespace qx {
namespace {

std::string Raiz(bool porUsuario) {
  return porUsuario ? "HKEY_CURRENT_USER\\Software\\Classes\\"
                    : "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\";
}

std::string ChaveAplicacao(const std::string& raiz) {
  std::string chave = raiz + "AppID\\";
  chave += GuidToBracedText(APPID_Ostrel);
  return chave;
}

std::string ChaveClasse(const std::string& raiz) {
  std::string chave = raiz + "CLSID\\";
  chave += GuidToBracedText(CLSID_QXCN_Lancamento);
  return chave;
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

}  // namespace

HRESULT RegistraServidor(bool porUsuario, const std::string& modulo) {
  const std::string raiz = Raiz(porUsuario);
  HRESULT hr = Aplica(RegistroAplicacao(raiz));
  if (SUCCEEDED(hr)) hr = Aplica(RegistroClasse(raiz, modulo));
  return hr;
}

HRESULT DesregistraServidor(bool porUsuario) {
  const std::string raiz = Raiz(porUsuario);
  RegEdit classe;
  classe.DeleteTree(ChaveClasse(raiz))
      .DeleteTree(raiz + kProgIdSemVersao)
      .DeleteTree(raiz + kProgId);
  HRESULT hr = Aplica(classe);
  if (FAILED(hr)) return hr;
  RegEdit aplicacao;
  aplicacao.DeleteTree(ChaveAplicacao(raiz)).DeleteTree(raiz + "AppID\\" + kExecutavel);
  return Aplica(aplicacao);
}

}  // namespace qx
