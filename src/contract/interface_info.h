// The description of the entry service interface as data: per slot its
// method, business area, state test, parameters (direction, shape, kind of
// value, size, sizing parameter), logged names and ignored codes. Tests pin
// the slots with it, and the proxy and stub marshal calls with it.
#pragma once

#include <cstdint>
#include <span>
#include <type_traits>

#include "contract/interface_records.h"
#include "contract/record_layout.h"

namespace qx {

// The business area that carries a method out.
enum class Area {
  kFrame,            // the call frame itself
  kArquivosMes,      // whole month files
  kEdicao,           // the current entry and its saving
  kLeitura,          // reading and removal of entries
  kGerencial,        // managerial split and quantities
  kFiltro,           // filter and keyed reading
  kBusca,            // searches and listings
  kDiferenca,        // debit/credit differences
  kImportacao,       // import layouts, removal of imports
  kNotaExplicativa,  // explanatory notes
  kCrm,              // CRM extract
  kMesesFaltantes,   // creation of missing months
  kLote,             // bulk saves and reads of the batch interface
};

// Whether the frame refuses the call before initialisation.
enum class StateTest { kInicializado, kQualquerEstado };

enum class ParamDir { kIn, kOut, kInOut };

enum class ParamShape {
  kValue,  // the value itself
  kRef,    // one value through a pointer
  kArray,  // a pointer to as many values as another parameter says
  kFixed,  // a pointer to a fixed number of values
  kAlloc,  // a pointer to a pointer that the callee fills with its own block
};

enum class ValueKind { kInt16, kUInt16, kInt32, kUInt32, kUInt8, kCurrency, kBstr, kRecord };

template <class T>
constexpr ValueKind ValueKindOf() {
  if constexpr (std::is_same_v<T, int16_t>) return ValueKind::kInt16;
  if constexpr (std::is_same_v<T, uint16_t>) return ValueKind::kUInt16;
  if constexpr (std::is_same_v<T, int32_t>) return ValueKind::kInt32;
  if constexpr (std::is_same_v<T, uint32_t>) return ValueKind::kUInt32;
  if constexpr (std::is_same_v<T, unsigned char>) return ValueKind::kUInt8;
  if constexpr (std::is_same_v<T, CURRENCY>) return ValueKind::kCurrency;
  if constexpr (std::is_same_v<T, BSTR>) return ValueKind::kBstr;
  return ValueKind::kRecord;
}

struct ParamInfo {
  ParamDir dir;
  ParamShape shape;
  ValueKind kind;
  uint32_t size;               // bytes of one value (of a BSTR: of its pointer)
  const RecordLayout* record;  // records only
  const char* type;            // the type as the table writes it
  const char* name;
  const char* sizeParam;  // kArray: the parameter that holds the count
  uint32_t fixedCount;    // kFixed: the number of values
};

struct MethodInfo {
  int slot;
  const char* name;
  Area area;
  StateTest test;
  std::span<const ParamInfo> params;
  std::span<const char* const> logged;  // names of the profiler's entry pairs
  const HRESULT* ignored;               // ended by kFimListaCodigos
};

}  // namespace qx
