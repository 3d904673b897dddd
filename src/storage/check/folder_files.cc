#include "storage/check/folder_files.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <vector>

#include "contract/import_layout_record.h"
#include "platform/codepage.h"
#include "platform/file.h"
#include "platform/path.h"
#include "storage/month_name.h"
#include "storage/records/control_record.h"
#include "storage/records/difference_record.h"
#include "storage/records/intent_records.h"
#include "storage/records/note_records.h"

namespace qx::check {
namespace {

constexpr std::string_view kMonthEnding = ".DAT";
constexpr size_t kPrefixLength = 4;
constexpr size_t kMonthNameLength = kPrefixLength + 4 + kMonthEnding.size();
// In the order of MonthFiles.
constexpr std::array<const char*, 5> kMonthPrefixes = {
    kPrefixoLancamentos, kPrefixoGerencial, kPrefixoQuantidades, kPrefixoMoeda,
    kPrefixoComplementos};

}  // namespace

std::optional<LoadedFile>* SlotOf(std::string_view name, FolderFiles* files) {
  const std::array<std::pair<const char*, std::optional<LoadedFile>*>, 7> side = {{
      {kControlFileName, &files->control},
      {kDifferenceFileName, &files->differences},
      {kImportLayoutFileName, &files->layouts},
      {kImportLayoutTempFileName, &files->layoutsTemp},
      {kNoteIndexFileName, &files->noteIndex},
      {kNoteTextFileName, &files->noteTexts},
      {kIntentFileName, &files->intent},
  }};
  for (const auto& [fileName, slot] : side) {
    if (Cp1252EqualNoCase(name, fileName)) return slot;
  }
  const auto mesAno = MonthOfFileName(name);
  if (!mesAno) return nullptr;
  MonthFiles& month = files->months[mesAno->Value()];
  const std::array<std::optional<LoadedFile>*, kMonthPrefixes.size()> slots = {
      &month.entries, &month.splits, &month.quantities, &month.currency, &month.complements};
  for (size_t i = 0; i < kMonthPrefixes.size(); ++i) {
    if (Cp1252EqualNoCase(name.substr(0, kPrefixLength), kMonthPrefixes[i])) return slots[i];
  }
  return nullptr;
}

namespace {

bool IsUpperSpelling(std::string_view name) {
  return std::all_of(name.begin(), name.end(), [](char c) { return Cp1252ToUpper(c) == c; });
}

// The whole file, opened for reading and shared with every writer.
bool ReadWhole(const std::string& path, std::string* bytes, std::string* error) {
  CFile file;
  CFileException failure;
  if (!file.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone | CFile::modeNoTruncate,
                 &failure)) {
    *error = "não abre (causa ";
    *error += std::to_string(failure.m_cause);
    *error += ", erro do sistema " + std::to_string(failure.m_lOsError) + ")";
    return false;
  }
  try {
    const uint64_t length = file.GetLength();
    bytes->assign(length, '\0');
    uint64_t done = 0;
    while (done < length) {
      const uint32_t piece = static_cast<uint32_t>(std::min<uint64_t>(length - done, 1u << 20));
      const uint32_t read = file.Read(bytes->data() + done, piece);
      if (read == 0) break;  // the file shrank: what was read stands
      done += read;
    }
    bytes->resize(done);
  } catch (CFileException* thrown) {
    *error = "não se lê (causa ";
    *error += std::to_string(thrown->m_cause) + ")";
    thrown->Delete();
    return false;
  }
  return true;
}

}  // namespace

std::optional<CQXMesAno> MonthOfFileName(std::string_view name) {
  if (name.size() != kMonthNameLength ||
      !Cp1252EqualNoCase(name.substr(kPrefixLength + 4), kMonthEnding) ||
      std::none_of(kMonthPrefixes.begin(), kMonthPrefixes.end(), [&](const char* prefix) {
        return Cp1252EqualNoCase(name.substr(0, kPrefixLength), prefix);
      })) {
    return std::nullopt;
  }
  return MesDaParteArquivo(name.substr(kPrefixLength, 4));
}

std::string UpperName(std::string_view name) {
  std::string upper(name);
  for (char& c : upper) c = Cp1252ToUpper(c);
  return upper;
}

bool LoadFolder(const std::string& folder, FolderFiles* files, Findings* findings,
                std::string* error) {
  std::vector<std::string> names;
  std::error_code failure;
  for (std::filesystem::directory_iterator it(folder, failure), end; !failure && it != end;
       it.increment(failure)) {
    const std::string name = it->path().filename().string();
    files->names.insert(UpperName(name));
    std::error_code ignored;
    if (it->is_regular_file(ignored)) {
      names.push_back(name);
    } else if (SlotOf(name, files) != nullptr) {
      // The server opens such a name and fails: whatever it holds is lost to it.
      findings->Add(
          "unreadable", name,
          it->is_directory(ignored) ? "uma pasta, não um arquivo" : "não é um arquivo comum");
    }
  }
  if (failure) {
    *error = folder + ": a pasta não se lê (" + failure.message() + ")";
    return false;
  }
  // The server opens the upper-case spelling it builds, else the smallest
  // name that matches ignoring case: sorted, that one comes first.
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return IsUpperSpelling(a) != IsUpperSpelling(b) ? IsUpperSpelling(a) : a < b;
  });
  for (const std::string& name : names) {
    std::optional<LoadedFile>* slot = SlotOf(name, files);
    if (slot == nullptr) continue;
    if (slot->has_value()) {
      findings->Add("name-case", name,
                    "só difere em maiúsculas e minúsculas de " + (*slot)->name +
                        ", que é o que o servidor usa");
      continue;
    }
    std::string bytes, why;
    // The file of mark 7 opens only while no operation holds the mark: then
    // there is no intent to read.
    const bool intent = slot == &files->intent;
    if (!ReadWhole(JoinPath(folder, name), &bytes, &why)) {
      if (!intent) findings->Add("unreadable", name, why);
      continue;
    }
    *slot = LoadedFile{name, std::move(bytes)};
    if (!intent) ++files->count;
  }
  // Months of which only unread names were seen hold nothing.
  std::erase_if(files->months, [](const auto& month) {
    const MonthFiles& m = month.second;
    return !m.entries && !m.splits && !m.quantities && !m.currency && !m.complements;
  });
  return true;
}

}  // namespace qx::check
