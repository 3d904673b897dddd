#pragma once
// The current day as the system's clock gives it: the machine's local time, shifted by the
// machine's "QX_DATETIME" setting when that asks for it.

#include "values/calendar.h"

namespace qx {

CivilDate CurrentDay();

}  // namespace qx
