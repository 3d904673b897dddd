// What a failure of PostgreSQL means to the suite: its code and what to do.
#pragma once

#include "platform/com_types.h"

namespace qx {

struct FalhaPostgres {
  HRESULT code;
  const char* conselho;  // what to do (Windows-1252); empty when the message says it all
};

// By the failure's SQLSTATE (null or empty when the server sent none) and
// whether the connection still stands.
FalhaPostgres ClassificaFalhaPostgres(const char* sqlstate, bool conectado);

}  // namespace qx
