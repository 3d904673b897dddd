// The company's configuration values by name, as people set them: the
// accounting master's period and options, the company properties, and
// whether the company uses document management.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "outside/database/suite_database.h"

namespace qx {

enum class ConfigKind {
  kNumber,  // 0..max
  kFlag,    // 0 or 1
  kDate,    // a CQXData day number, or 0 for none
};

struct ConfigItem {
  const char* name;    // as the admin tool spells it ("inicio-exercicio")
  const char* alias;   // the English name it had, still accepted ("period-start")
  const char* column;  // of the company row; null for document management
  ConfigKind kind;
  int64_t max;          // kNumber only
  const char* meaning;  // one line for people (UTF-8)
};

std::span<const ConfigItem> ConfigItems();
// The item of that name (or alias), or null.
const ConfigItem* FindConfigItem(std::string_view name);

// A value outside the item's range gives E_INVALIDARG and changes nothing.
HRESULT SetConfig(SuiteDatabase& db, const ConfigItem& item, int64_t value);
HRESULT GetConfig(SuiteDatabase& db, const ConfigItem& item, int64_t* value);

}  // namespace qx
