// The interface table as constexpr data, generated from interface_table.def.
#pragma once

#include <span>

#include "contract/entry_messages.h"
#include "contract/hresult.h"
#include "contract/interface_info.h"
#include "contract/interface_params.h"

namespace qx::table {

#define QX_PARAM_INFO(Dir, Shape, T, name, count, n)                                               \
  ParamInfo {                                                                                      \
    ParamDir::k##Dir, ParamShape::k##Shape, ValueKindOf<T>(), sizeof(T),                           \
        ValueKindOf<T>() == ValueKind::kRecord ? &RecordLayoutOf<T>::kLayout : nullptr, #T, #name, \
        count, n                                                                                   \
  }
#define QX_LOG(label, expression) label
#define QX_LOG_DEREF(label, pointer) label
#define QX_INFOS(...) QX_MAP(QX_PARAM_INFO, __VA_ARGS__) __VA_OPT__(, )
#define QX_METHOD_DATA(slot, name, area, test, params, logged, ignored)        \
  inline constexpr ParamInfo kParams_##name[] = {QX_INFOS params ParamInfo{}}; \
  inline constexpr const char* kLogged_##name[] = {QX_ENDED logged nullptr};   \
  inline constexpr HRESULT kIgnored_##name[] = {QX_ENDED ignored kFimListaCodigos};
#define QX_METHOD QX_METHOD_DATA
#define QX_LOTE_METHOD QX_METHOD_DATA
#include "contract/interface_table.def"
#undef QX_METHOD_DATA
#undef QX_INFOS
#undef QX_PARAM_INFO

}  // namespace qx::table

namespace qx {

#define QX_METHOD_INFO(slot, name, area, test, params, logged, ignored)              \
  MethodInfo{slot,                                                                   \
             #name,                                                                  \
             Area::k##area,                                                          \
             StateTest::k##test,                                                     \
             std::span(table::kParams_##name, std::size(table::kParams_##name) - 1), \
             std::span(table::kLogged_##name, std::size(table::kLogged_##name) - 1), \
             table::kIgnored_##name},

// Every slot from 3 to 92 of the published interface, in slot order.
inline constexpr MethodInfo kInterfaceTable[] = {
#define QX_METHOD QX_METHOD_INFO
#include "contract/interface_table.def"
};

// Every slot from 3 of the batch interface, in slot order.
inline constexpr MethodInfo kInterfaceTableLote[] = {
#define QX_LOTE_METHOD QX_METHOD_INFO
#include "contract/interface_table.def"
};

#undef QX_METHOD_INFO

}  // namespace qx
