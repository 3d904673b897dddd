// Whether a company is in use. Every program that opens a company's suite
// database (a server on any workstation, a tool) holds the file "QXSUITE.uso"
// of the company's "DF" folder open, sharing it with every other such
// program; moving the company to another database holds it alone. The file's
// share locks work between machines as the marks' do, and a process that ends
// lets go of them however it ends.
#pragma once

#include <memory>
#include <string>

#include "platform/com_types.h"

class CFile;

namespace qx {

inline constexpr char kCompanyUseFile[] = "QXSUITE.uso";

// Holds the company of the "DF" folder in use while *hold lives: one open
// per process and folder, shared by the holders of the process.
// E_QXDF_EMPRESA_EM_USO while the company is being moved. A folder where the
// file can be neither found nor made (a reader without write permission)
// holds nothing and succeeds: the move makes the file first.
HRESULT UseCompany(const std::string& dfFolder, std::shared_ptr<const void>* hold,
                   std::string* message);

// Holds the company alone while *hold lives; E_QXDF_EMPRESA_EM_USO while any
// program, here or on another workstation, uses it.
HRESULT HoldCompanyAlone(const std::string& dfFolder, std::unique_ptr<CFile>* hold,
                         std::string* message);

}  // namespace qx
