#include "cli.h"

#include <charconv>
#include <cstdio>

#include "outside/suite_setup.h"
#include "platform/codepage.h"
#include "values/qx_data.h"

namespace qxadmin {

void Usage(const std::string& message) { throw Failure(message + " (qxadmin help)", 2); }

std::optional<std::string> Args::Option(const std::string& name) {
  for (size_t i = 0; i < words_.size(); ++i) {
    if (words_[i] != name) continue;
    if (i + 1 >= words_.size()) Usage(name + " needs a value");
    std::string value = FromTerminal(words_[i + 1]);
    words_.erase(words_.begin() + i, words_.begin() + i + 2);
    return value;
  }
  return std::nullopt;
}

bool Args::Flag(const std::string& name) {
  for (size_t i = 0; i < words_.size(); ++i) {
    if (words_[i] == name) {
      words_.erase(words_.begin() + i);
      return true;
    }
  }
  return false;
}

std::vector<std::string> Args::Positional(size_t min, size_t max) {
  for (const std::string& word : words_) {
    if (word.size() > 2 && word.compare(0, 2, "--") == 0) Usage("unknown option " + word);
  }
  if (words_.size() < min) Usage("missing arguments");
  if (words_.size() > max) Usage("too many arguments");
  std::vector<std::string> texts;
  for (const std::string& word : words_) texts.push_back(FromTerminal(word));
  return texts;
}

int64_t Number(const std::string& text, int64_t min, int64_t max, const std::string& what) {
  int64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end || value < min || value > max) {
    Usage(what + " must be a number from " + std::to_string(min) + " to " + std::to_string(max) +
          ", not '" + ToTerminal(text) + "'");
  }
  return value;
}

uint32_t Date(const std::string& text, const std::string& what) {
  if (text == "0" || text == "none") return 0;
  const bool shaped = text.size() == 10 && text[4] == '-' && text[7] == '-';
  if (shaped) {
    const int64_t year = Number(text.substr(0, 4), 1848, 4717, what + " year");
    const int64_t month = Number(text.substr(5, 2), 1, 12, what + " month");
    const int64_t day = Number(text.substr(8, 2), 1, 31, what + " day");
    const CQXData date =
        CQXData::Make(static_cast<int>(day), static_cast<int>(month), static_cast<int>(year));
    if (!date.IsEmpty() && date.Day() == day) return date.Value();
  }
  Usage(what + " must be a date YYYY-MM-DD or none, not '" + ToTerminal(text) + "'");
}

std::string DateText(uint32_t day) {
  const CQXData date(day);
  return date.IsEmpty() ? "none" : date.Text(5, '-');
}

std::string FromTerminal(const std::string& utf8) { return qx::Utf8ToCp1252(utf8); }
std::string ToTerminal(const std::string& cp1252) { return qx::Cp1252ToUtf8(cp1252); }

void PrintLine(const std::string& cp1252) { std::printf("%s\n", ToTerminal(cp1252).c_str()); }

void Check(HRESULT hr, const std::string& message) {
  if (FAILED(hr)) throw Failure(ToTerminal(message), 1);
}

std::shared_ptr<qx::SuiteDatabase> Context::Company(const std::string& code) const {
  std::shared_ptr<qx::SuiteDatabase> db;
  std::string message;
  Check(qx::OpenRegisteredCompany(registry, code, &db, &message), message);
  return db;
}

}  // namespace qxadmin
