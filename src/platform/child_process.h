// A piece of this program run in a process of its own, as a second program
// would run it: for trying what one process's locks do to another's.
#pragma once

#include <functional>

namespace qx {

// Runs body in a child process (a copy of this one) and waits for it; the
// child ends with body's result as its exit status, and is killed after
// timeoutSeconds. The exit status, or -1 when the child could not run or did
// not end by itself.
int RunInChildProcess(const std::function<int()>& body, unsigned timeoutSeconds);

}  // namespace qx
