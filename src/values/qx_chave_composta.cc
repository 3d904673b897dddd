#include "values/qx_chave_composta.h"

#include <cinttypes>
#include <cstdio>
#include <string_view>

#include "values/origin_names.h"

namespace {

// The number written in the digits of text; false when a character is not a digit, when
// there is none, or when the number exceeds limit.
bool ReadNumber(std::string_view text, uint32_t limit, uint32_t& number) {
  number = 0;
  if (text.empty()) return false;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + static_cast<uint32_t>(c - '0');
    if (number > limit) return false;
  }
  return true;
}

// The period part of the description, by the key's kind.
std::string PeriodDescription(const CQXChaveComposta& key) {
  char text[40] = "";
  switch (key.PeriodKind()) {
    case CQXChaveComposta::kindNone:
      break;
    case CQXChaveComposta::kindYear:
      std::snprintf(text, sizeof text, " - Ano: %04" PRIu32, key.Period());
      break;
    case CQXChaveComposta::kindMesAno:
      std::snprintf(text, sizeof text, " - M\xEAs/Ano: %s",
                    CQXMesAno(key.Period()).Text(7, '/').c_str());
      break;
    case CQXChaveComposta::kindData:
      std::snprintf(text, sizeof text, " - Data: %s", CQXData(key.Period()).Text(1, '/').c_str());
      break;
  }
  return text;
}

std::string Description(const CQXChaveComposta& key) {
  constexpr uint32_t kImport = 21, kBatch = 22, kReconciliation = 24;
  const uint32_t module = key.Module();
  std::string text = module == kImport || module == kBatch ? ""
                                                           : "M\xF3"
                                                             "dulo ";
  const char* name = qx::OriginModuleName(module);
  text += name != nullptr ? name : std::to_string(module);
  if (module != kReconciliation) text += PeriodDescription(key);
  return text + " - Chave: " + std::to_string(key.Key());
}

}  // namespace

_QX_DMCPS CQXChaveComposta::ToDmcps() const {
  _QX_DMCPS dmcps{qx::MakeChaveModulo(Key(), Module()), 0, {0, 0}};
  if (PeriodKind() == kindMesAno) dmcps.iData = CQXMesAno(Period()).Value();
  if (PeriodKind() == kindData) dmcps.iData = CQXData(Period()).MesAno().Value();
  return dmcps;
}

std::string CQXChaveComposta::Text(int form) const {
  char text[32];
  switch (form) {
    case 0:
      std::snprintf(text, sizeof text, "%s-%06" PRIu32, CQXMesAno(Period()).Text(7).c_str(), Key());
      return text;
    case 1:
      std::snprintf(text, sizeof text, "%s-%06" PRIu32, CQXData(Period()).Text(0).c_str(), Key());
      return text;
    case 3:
      std::snprintf(text, sizeof text, "%" PRIu32 "-%" PRIu32, Period(), Key());
      return text;
    case 4:
      return std::to_string(Key());
    case 5:
      return Description(*this);
    default:
      return {};
  }
}

bool CQXChaveComposta::Parse(const char* text, int form) {
  raw_ = 0;
  if (text == nullptr) return false;
  const std::string_view view(text);
  if (view.empty() || form < 0 || form > 2) return true;
  const bool byDate = form == 1;
  if (form == 0 && view.size() != 11) return false;
  if (form == 1 && view.size() != 13) return false;
  if (form == 2 && view.size() < 6) return false;
  if (view == (byDate ? "000000-000000" : "0000-000000")) return true;

  // Two-digit fields of the period, then the key after the character that follows them.
  const std::size_t fieldCount = byDate ? 3 : 2;
  uint32_t fields[3] = {0, 0, 0};
  for (std::size_t i = 0; i < fieldCount; ++i) {
    if (!ReadNumber(view.substr(2 * i, 2), 99, fields[i])) return false;
  }
  uint32_t key = 0;
  if (!ReadNumber(view.substr(2 * fieldCount + 1), 999999, key) || key == 0) return false;
  const int a = static_cast<int>(fields[0]), b = static_cast<int>(fields[1]);
  if (byDate) {
    // A day past the month's end names no date, although making a date would cut it.
    const CQXData date = CQXData::Make(a, b, static_cast<int>(fields[2]));
    if (date.Day() != a) return false;
    SetData(date);
  } else {
    SetMesAno(CQXMesAno::Make(a, b));
  }
  if (PeriodKind() == kindNone) return false;  // no valid date or month-year
  SetKey(key);
  return true;
}
