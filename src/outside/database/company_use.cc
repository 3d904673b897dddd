#include "outside/database/company_use.h"

#include <map>
#include <mutex>

#include "outside/database/outside_codes.h"
#include "platform/file.h"
#include "platform/path.h"
#include "values/text_format.h"

namespace qx {
namespace {

std::mutex g_usesMutex;
std::map<std::string, std::weak_ptr<CFile>> g_uses;  // by folder

}  // namespace

HRESULT UseCompany(const std::string& dfFolder, std::shared_ptr<const void>* hold,
                   std::string* message) {
  std::lock_guard lock(g_usesMutex);
  std::shared_ptr<CFile> file = g_uses[dfFolder].lock();
  if (!file) {
    file = std::make_shared<CFile>();
    const std::string path = JoinPath(dfFolder, kCompanyUseFile);
    CFileException error;
    if (!file->Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone, &error) &&
        (error.m_cause != CFileException::fileNotFound ||
         !file->Open(
             path.c_str(),
             CFile::modeCreate | CFile::modeNoTruncate | CFile::modeRead | CFile::shareDenyNone,
             &error))) {
      if (error.m_cause == CFileException::sharingViolation) {
        *message = FormatText(
            "A empresa da pasta \"%s\" est\xE1 sendo movida para outro banco de dados "
            "(qxadmin empresa move): tente de novo quando a mudan\xE7"
            "a terminar.",
            dfFolder.c_str());
        return E_QXDF_EMPRESA_EM_USO;
      }
      file.reset();  // nothing to hold: no one can move the company without the file
    }
    if (file) g_uses[dfFolder] = file;
  }
  *hold = std::move(file);
  return S_OK;
}

HRESULT HoldCompanyAlone(const std::string& dfFolder, std::unique_ptr<CFile>* hold,
                         std::string* message) {
  auto file = std::make_unique<CFile>();
  const std::string path = JoinPath(dfFolder, kCompanyUseFile);
  CFileException error;
  if (!file->Open(
          path.c_str(),
          CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite | CFile::shareExclusive,
          &error)) {
    *message = error.m_cause == CFileException::sharingViolation
                   ? FormatText(
                         "A empresa da pasta \"%s\" est\xE1 aberta por algum programa (um "
                         "servidor ostrel, qxcn, qxweb, qxadmin) nesta ou noutra esta\xE7\xE3o: "
                         "feche-os; o servidor termina 5 segundos depois do \xFAltimo cliente.",
                         dfFolder.c_str())
                   : FormatText("N\xE3o foi poss\xEDvel abrir \"%s\" (erro %ld).", path.c_str(),
                                error.m_lOsError);
    return error.m_cause == CFileException::sharingViolation ? E_QXDF_EMPRESA_EM_USO
                                                             : E_QXDF_BANCO_INDISPONIVEL;
  }
  *hold = std::move(file);
  return S_OK;
}

}  // namespace qx
