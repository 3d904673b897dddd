// Names and texts of the suite's other modules.
#pragma once

namespace qx {

// The name of a facility of the suite's modules (236 to 255, 262 to 266, 268,
// 269), or null.
const char* SuiteFacilityName(int facility);

// The fixed message text of another module for a facility-4 code's low word,
// or null.
const char* SuiteMessageText(int code);

}  // namespace qx
