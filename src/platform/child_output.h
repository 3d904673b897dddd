// Runs a program as a child process and takes what it writes to its standard
// output, as the system's command runner with an output pipe does.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qx {

// Runs argv[0] (looked up in PATH when it has no '/') with the arguments of
// argv, its standard output to a pipe and its input and errors to /dev/null,
// and waits for it to end. A child still running after timeoutMs is killed;
// the text it wrote until then is kept. At most kMaxChildOutput bytes are
// kept. 0 once the program ran; otherwise the errno of the failure to start
// it (ENOENT for a program that is nowhere).
int RunForOutput(const std::vector<std::string>& argv, uint32_t timeoutMs, std::string* output);

inline constexpr size_t kMaxChildOutput = 64 * 1024;

}  // namespace qx
