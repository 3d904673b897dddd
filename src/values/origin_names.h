#pragma once
// Names of the origin modules that produce entries, in code page 1252.

namespace qx {

// The module's name, or nullptr for a code that names no module.
const char* OriginModuleName(unsigned module);

}  // namespace qx
