#pragma once
// Whether a standard stream of the process is an interactive terminal.

namespace qx {

enum class StandardStream { kOutput = 1, kError = 2 };

bool IsTerminal(StandardStream stream);

}  // namespace qx
