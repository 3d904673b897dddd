#include "storage/check/text_forms.h"

#include "values/br_text.h"

namespace qx::check {

std::string Counted(uint64_t count, std::string_view noun) {
  std::string text = std::to_string(count);
  text += ' ';
  text += noun;
  if (count != 1) text += 's';
  return text;
}

std::string MoneyText(int64_t value) { return AmountText(CURRENCY{value}); }

}  // namespace qx::check
