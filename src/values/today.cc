#include "values/today.h"

#include "platform/clock.h"

namespace qx {

CivilDate CurrentDay() {
  const SYSTEMTIME now = CurrentDateTime();
  return {now.wDay, now.wMonth, now.wYear};
}

}  // namespace qx
