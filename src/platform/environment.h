// The process environment and the user's home folder.
#pragma once

#include <string>

namespace qx {

// The variable's value; "" when it is unset.
std::string GetEnvironmentText(const char* name);
// $HOME, else the home folder of the process's user; "" when neither is known.
std::string HomeFolder();

}  // namespace qx
