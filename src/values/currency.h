#pragma once
// The automation currency type (ten-thousandths in 64 bits) comes from the COM types.

#include "platform/com_types.h"
