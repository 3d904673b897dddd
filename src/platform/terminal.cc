#include "platform/terminal.h"

#include <unistd.h>

namespace qx {

bool IsTerminal(StandardStream stream) { return isatty(static_cast<int>(stream)) == 1; }

}  // namespace qx
