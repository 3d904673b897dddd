// The versions shown with every failure: the system's and the suite's, each
// in four-part form ("6.1.0.18"), computed once per process.
#pragma once

#include <string>
#include <string_view>

namespace qx {

// The project's version (kept equal to the version in CMakeLists.txt).
inline constexpr std::string_view kVersaoProjeto = "0.1.0";

// The first four numbers of text, "%d.%d.%d.%d", missing ones as 0:
// "6.1.0-18-amd64" gives "6.1.0.18" and "0.1.0" gives "0.1.0.0".
std::string FourPartVersion(std::string_view text);

// The kernel release in four-part form.
const std::string& VersaoSistema();
// The suite's version in four-part form.
const std::string& VersaoSuite();

}  // namespace qx
