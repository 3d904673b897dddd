#include "values/calendar_names.h"

#include <array>

namespace qx {

const char* MonthName(int month) {
  static constexpr std::array<const char*, 12> kNames = {
      "janeiro", "fevereiro", "mar\xE7o", "abril",   "maio",     "junho",
      "julho",   "agosto",    "setembro", "outubro", "novembro", "dezembro"};
  return month >= 1 && month <= 12 ? kNames[month - 1] : "";
}

const char* WeekdayName(int dayOfWeek) {
  static constexpr std::array<const char*, 7> kNames = {"Domingo",
                                                        "Segunda-feira",
                                                        "Ter\xE7"
                                                        "a-feira",
                                                        "Quarta-feira",
                                                        "Quinta-feira",
                                                        "Sexta-feira",
                                                        "S\xE1"
                                                        "bado"};
  return dayOfWeek >= 1 && dayOfWeek <= 7 ? kNames[dayOfWeek - 1] : "";
}

}  // namespace qx
