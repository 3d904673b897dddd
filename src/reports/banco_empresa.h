#pragma once
// The company's suite database as the reports read it: for what only it
// keeps (registration, natures, branches), with a failure of the opening or
// of a reading thrown as FalhaServico naming what was being read.

#include <memory>
#include <string>

#include "outside/database/suite_database.h"

namespace qx {

std::shared_ptr<SuiteDatabase> AbreBancoDaEmpresa(const std::string& empresa,
                                                  const std::string& leitura);
// Throws when `hr` failed, with what the database said.
void ConfirmaLeitura(HRESULT hr, const SuiteDatabase& db, const std::string& leitura);

}  // namespace qx
