#include "storage/check/difference_check.h"

#include <string>
#include <vector>

#include "storage/check/record_shape.h"
#include "storage/check/text_forms.h"
#include "storage/records/difference_record.h"
#include "values/calendar.h"

namespace qx::check {
namespace {

bool ByMonth(uint16_t modo) { return modo == 2 || modo == 3; }
bool ByUser(uint16_t modo) { return modo == 0 || modo == 2; }

std::string KeyText(const DifferenceTally::Key& key, const DifferenceOptions& options) {
  std::string text = ByMonth(options.modo) ? "mês " + std::to_string(key.group)
                                           : "data " + CQXData(key.group).Text(1, '/');
  if (options.porFilial) text += ", filial " + std::to_string(key.filial);
  return text;
}

struct Stored {
  CheckedSum total;
  uint64_t firstPosition = 0;
};

// The checks of one record; false when it holds no total.
bool CheckRecord(const LoadedFile& file, uint64_t position, const DifferenceRecord& record,
                 const DifferenceOptions& options, Findings* findings) {
  if (record.Valor.int64 == 0) {
    if (!IsFreeSlot(record)) {
      findings->At("difference-stale", file.name, Unit::kRecord, position,
                   "total 0 com filial " + std::to_string(record.Filial) + " e usuário " +
                       std::to_string(record.Usuario));
    }
    return false;
  }
  if (!IsValidDayNumber(EffectiveDate(record))) {
    findings->At("difference-date", file.name, Unit::kRecord, position,
                 "total " + MoneyText(record.Valor.int64) + " na data " +
                     std::to_string(EffectiveDate(record)) + ", que não é um dia");
    return false;
  }
  if (record.Filial != 0 && !options.porFilial) {
    findings->At("difference-branch", file.name, Unit::kRecord, position,
                 "filial " + std::to_string(record.Filial));
  }
  if (record.Usuario != 0 && !ByUser(options.modo)) {
    findings->At("difference-user", file.name, Unit::kRecord, position,
                 "usuário " + std::to_string(record.Usuario));
  }
  return true;
}

}  // namespace

CheckedSum OneSidedAmount(const EntryRecord& entry) {
  CheckedSum amount;
  if (entry.Credito == 0) amount.Add(entry.Valor.int64);
  if (entry.Debito == 0) {
    int64_t minus = 0;
    amount.overflow = amount.overflow || __builtin_sub_overflow(int64_t{0}, entry.Valor.int64, &minus);
    amount.Add(minus);
  }
  return amount;
}

DifferenceTally::Key DifferenceTally::KeyOf(uint32_t date, uint16_t filial) const {
  const uint32_t group =
      ByMonth(options_.modo) ? static_cast<uint32_t>(CQXData(date).Month()) : date;
  return {group, options_.porFilial ? filial : uint16_t{0}};
}

bool DifferenceTally::Covers(uint32_t date) const {
  if (ByMonth(options_.modo)) return true;
  const CQXData day(date);
  return months_.count(CQXMesAno::Make(day.Month(), day.Year()).Value()) != 0;
}

void DifferenceTally::AddEntry(CQXData date, uint16_t filial, const CheckedSum& amount) {
  if ((amount.value == 0 && !amount.overflow) || date.IsEmpty()) return;
  Expected& expected = expected_[KeyOf(date.Value(), filial)];
  expected.total.Add(amount);
  if (!amount.overflow) expected.amounts.insert(amount.value);
}

void CheckDifferences(const std::optional<LoadedFile>& file, const DifferenceTally& tally,
                      Findings* findings) {
  const DifferenceOptions& options = tally.options();
  std::map<DifferenceTally::Key, Stored> stored;
  // Full keys (users told apart) seen so far, for records no lookup reaches.
  std::map<std::pair<DifferenceTally::Key, uint16_t>, uint64_t> seen;
  const std::string name = file ? file->name : std::string(kDifferenceFileName);
  const uint64_t records = file ? CheckRecordShape(*file, kDifferenceRecordSize, findings) : 0;
  for (uint64_t p = 1; p <= records; ++p) {
    const auto record = file->At<DifferenceRecord>(p);
    if (!CheckRecord(*file, p, record, options, findings)) continue;
    if (!tally.Covers(EffectiveDate(record))) continue;
    const auto key = tally.KeyOf(EffectiveDate(record), record.Filial);
    const uint16_t user = ByUser(options.modo) ? record.Usuario : 0;
    if (options.modo <= 3) {
      auto [first, added] = seen.try_emplace({key, user}, p);
      if (!added) {
        findings->At("difference-duplicate", name, Unit::kRecord, p,
                     "a mesma chave do registro " + std::to_string(first->second) + " (" +
                         KeyText(key, options) + ", usuário " + std::to_string(user) + ")");
      }
    }
    Stored& total = stored[key];
    if (total.firstPosition == 0) total.firstPosition = p;
    total.total.Add(record.Valor.int64);
  }

  struct Mismatch {
    DifferenceTally::Key key;
    int64_t expected, stored;
    uint64_t position;
  };
  std::vector<Mismatch> mismatches;
  auto compare = [&](const DifferenceTally::Key& key, const CheckedSum& expected) {
    const auto found = stored.find(key);
    const CheckedSum held = found == stored.end() ? CheckedSum{} : found->second.total;
    const uint64_t position = found == stored.end() ? 0 : found->second.firstPosition;
    if (expected.overflow || held.overflow) {
      const std::string reason = KeyText(key, options) +
                                 (expected.overflow ? ": os valores de um só lado dos lançamentos"
                                                    : ": os totais do arquivo") +
                                 " somam mais que o maior valor, " + MoneyText(INT64_MAX);
      if (position == 0) {
        findings->Add("difference-overflow", name, reason);
      } else {
        findings->At("difference-overflow", name, Unit::kRecord, position, reason);
      }
    } else if (held.value != expected.value) {
      mismatches.push_back({key, expected.value, held.value, position});
    }
  };
  for (const auto& [key, expected] : tally.expected()) compare(key, expected.total);
  for (const auto& [key, held] : stored) {
    if (tally.expected().count(key) == 0) compare(key, CheckedSum{});
  }

  for (const Mismatch& m : mismatches) {
    // A difference beyond the range of an amount is no entry's amount.
    int64_t missing = 0;
    const auto expected = tally.expected().find(m.key);
    const bool oneEntry = !__builtin_sub_overflow(m.expected, m.stored, &missing) &&
                          expected != tally.expected().end() &&
                          expected->second.amounts.count(missing) != 0;
    std::string reason = KeyText(m.key, options) + ": os lançamentos dão " + MoneyText(m.expected) +
                         ", o arquivo guarda " + MoneyText(m.stored);
    if (oneEntry) reason += " (o valor de um lançamento)";
    const char* kind = oneEntry ? "difference-unfinished" : "difference-total";
    if (m.position == 0) {
      findings->Add(kind, name, reason);
    } else {
      findings->At(kind, name, Unit::kRecord, m.position, reason);
    }
  }
}

}  // namespace qx::check
