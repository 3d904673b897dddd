// What a code means, for the people who read a tool's failure: its name and
// a description in Portuguese. This system's own codes (the record files'
// statuses inside an interface-facility failure, the server's facility 264,
// the company data's facility 238) come first; other codes get the Windows
// SDK's name (or, for another module of the suite, its facility's name) and
// the system's text (system_messages.h). The error log line
// keeps its own names (error_names.h); these texts are for people only.
#pragma once

#include <string>

#include "platform/com_types.h"

namespace qx {

struct CodeText {
  std::string name;         // "ARQ_FIM_DE_ARQUIVO", "CO_E_CLASSSTRING"; empty when unknown
  std::string description;  // Windows-1252; empty when unknown
};

CodeText DescribeCode(HRESULT hr);

}  // namespace qx
