#include "platform/invalid_parameter.h"

namespace {

thread_local _invalid_parameter_handler tHandler = nullptr;

}  // namespace

_invalid_parameter_handler _set_thread_local_invalid_parameter_handler(
    _invalid_parameter_handler handler) {
  _invalid_parameter_handler previous = tHandler;
  tHandler = handler;
  return previous;
}

_invalid_parameter_handler _get_thread_local_invalid_parameter_handler() { return tHandler; }

namespace qx {

void InvalidParameter(const char16_t* expression, const char16_t* function, const char16_t* file,
                      unsigned line, int error) {
  errno = error;
  if (tHandler != nullptr) tHandler(expression, function, file, line, 0);
}

}  // namespace qx
