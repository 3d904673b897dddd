// qxdate: converts between the system's date encodings and calendar dates, for support staff.

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "values/typed_input.h"
#include "report.h"

namespace {

constexpr const char* kUsage =
    "usage: qxdate VALUE            a CQXData day number (2..1048247), e.g. 64285\n"
    "       qxdate DATE             a calendar date: 2024-03-15, 15/03/2024 or 15/03/24\n"
    "       qxdate --mesano VALUE   a CQXMesAno month-year (1..34440), e.g. 2117\n"
    "       qxdate --curta VALUE    a CQXDataCurta short date (1..65535), e.g. 18322\n"
    "       qxdate --chave VALUE    an origin key lChaveModulo, decimal or 0x hexadecimal\n"
    "       qxdate --help\n";

// Reports bad input and gives the exit status for it.
int Refuse(const std::string& message) {
  std::fprintf(stderr, "qxdate: %s (qxdate --help lists the forms)\n", message.c_str());
  return 2;
}

int ShowDayNumberOrDate(std::string_view text) {
  if (const std::optional<uint32_t> value = qx::ReadNumber(text, UINT32_MAX)) {
    const CQXData date(*value);
    if (date.IsEmpty()) return Refuse(std::string(text) + " is not a CQXData (2..1048247)");
    qxdate::PrintDate(date);
    return 0;
  }
  const std::optional<qx::CivilDate> day = qx::ReadCalendarDate(text);
  if (!day) return Refuse("'" + std::string(text) + "' is neither a CQXData nor a date");
  qxdate::PrintDate(CQXData::Make(day->day, day->month, day->year));
  return 0;
}

int ShowOption(std::string_view option, std::string_view text) {
  if (option == "--mesano") {
    const std::optional<uint32_t> value = qx::ReadNumber(text, CQXMesAno::kLast);
    if (!value || *value == 0) return Refuse("'" + std::string(text) + "' is not a CQXMesAno");
    qxdate::PrintMesAno(CQXMesAno(*value));
  } else if (option == "--curta") {
    const std::optional<uint32_t> value = qx::ReadNumber(text, UINT16_MAX);
    if (!value || *value == 0) return Refuse("'" + std::string(text) + "' is not a CQXDataCurta");
    qxdate::PrintDataCurta(CQXDataCurta(static_cast<uint16_t>(*value)));
  } else if (option == "--chave") {
    const std::optional<uint32_t> value = qx::ReadNumber(text, UINT32_MAX);
    if (!value) return Refuse("'" + std::string(text) + "' is not an origin key");
    qxdate::PrintChaveModulo(*value);
  } else {
    return Refuse("unknown option " + std::string(option));
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc == 2 && argv[1][0] != '-') return ShowDayNumberOrDate(argv[1]);
  if (argc == 3) return ShowOption(argv[1], argv[2]);
  if (argc == 2)
    return Refuse("unknown option, or an option without its value: " + std::string(argv[1]));
  return Refuse(argc < 2 ? "nothing to convert" : "too many arguments");
}
