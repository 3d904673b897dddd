// The runtime library's invalid-parameter handler: a per-thread slot holding the function
// that our own checked operations call when they reject an argument. The handler receives
// the rejected expression, the function, the source file and line (wide texts; any may be
// null) and a reserved value (0). It may throw to leave the failing operation; when it
// returns, or when no handler is installed, the operation fails with errno set and its own
// error result, and the process goes on.
#pragma once

#include <cerrno>
#include <cstdint>

using _invalid_parameter_handler = void (*)(const char16_t* expression, const char16_t* function,
                                            const char16_t* file, unsigned line,
                                            uintptr_t reserved);

// Installs `handler` (null removes it) for the calling thread; gives the previous one.
_invalid_parameter_handler _set_thread_local_invalid_parameter_handler(
    _invalid_parameter_handler handler);
_invalid_parameter_handler _get_thread_local_invalid_parameter_handler();

namespace qx {

// Reports a rejected argument: sets errno to `error` (as the runtime does before it calls the
// handler, which reads it), then calls the calling thread's handler, if any.
void InvalidParameter(const char16_t* expression, const char16_t* function, const char16_t* file,
                      unsigned line, int error = EINVAL);

}  // namespace qx
