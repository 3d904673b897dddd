#include "outside/database/timestamp.h"

#include "values/text_format.h"

namespace qx {

std::string TimestampText(const SYSTEMTIME& when) {
  return FormatText("%04u-%02u-%02u %02u:%02u:%02u.%03u", when.wYear, when.wMonth, when.wDay,
                    when.wHour, when.wMinute, when.wSecond, when.wMilliseconds);
}

std::string TimestampNow() { return TimestampText(CurrentDateTime()); }

std::string TimestampParaPessoas(const std::string& texto) {
  if (texto.size() < 19) return texto;
  return texto.substr(8, 2) + "/" + texto.substr(5, 2) + "/" + texto.substr(0, 4) +
         texto.substr(10, 9);
}

}  // namespace qx
