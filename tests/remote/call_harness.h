// Calls any slot of an IQXCN_Lancamento or IQXCN_LancamentoLote with pattern arguments made from the interface table
// and describes what the caller holds afterwards: every output, arrays with two guard
// elements past their count, task memory blocks and texts in full. The same variant gives
// the same arguments, so an in-process call and a remote one can be compared.
//   variant 0: counts 3, texts non-ASCII, records with blocks of 0..2 elements
//   variant 1: counts 0, empty texts;  variant 2: negative (else 1) counts, null texts
#pragma once

#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "contract/interface_table.h"
#include "contract/iqxcn_lancamento.h"
#include "record_pattern.h"
#include "remote/param_marshal.h"
#include "remote/wire_records.h"

namespace qx::test {

struct Outcome {
  HRESULT hr = E_FAIL;
  std::string caller;  // the caller's variables after the call
};

// Whether parameter I of the list sizes an array.
constexpr bool IsCount(const ParamInfo* params, size_t i) {
  for (size_t j = 0; params[j].name != nullptr; ++j) {
    if (params[j].shape == ParamShape::kArray &&
        remote::ParamIndex(params, params[j].sizeParam) == i)
      return true;
  }
  return false;
}

template <const ParamInfo* kParams, size_t I, class A>
class CallerParam {
  using Traits = remote::ParamTraits<kParams, I, A>;
  using Element = typename Traits::Element;
  static constexpr uint32_t kGuards = 2;

 public:
  CallerParam() = default;
  CallerParam(const CallerParam&) = delete;
  CallerParam& operator=(const CallerParam&) = delete;
  ~CallerParam() {
    if constexpr (Traits::kText) {
      SysFreeString(value_);
    } else if constexpr (Traits::kShape == ParamShape::kAlloc) {
      if (value_ != nullptr) FreeRecordBlocks(Traits::kLayout, value_, 1);
      CoTaskMemFree(value_);
    } else if constexpr (!Traits::kArray) {
      FreeRecordBlocks(Traits::kLayout, &value_, 1);
    }
  }

  template <class Params>
  void Init(int variant, Params& params) {
    uint32_t seed = 1000 + I * 10 + variant;
    if constexpr (IsCount(kParams, I)) {
      value_ = variant == 0 ? 3 : variant == 1 ? 0 : std::is_signed_v<Element> ? -1 : 1;
    } else if constexpr (Traits::kText) {
      if (Traits::kShape == ParamShape::kValue && variant != 2)
        value_ = SysAllocString(variant == 1 ? u"" : u"Cr\u00e9dito \u00e0 vista \u20ac");
    } else if constexpr (Traits::kArray) {
      count_ = Traits::Elements(Counts<Params>{params});
      elements_.resize(count_ + kGuards);
      FillRecords(Traits::kLayout, elements_.data(), count_ + kGuards, seed);
    } else if constexpr (Traits::kShape != ParamShape::kAlloc) {
      if (Traits::kSendsIn) FillRecords(Traits::kLayout, &value_, 1, seed + 5 * variant);
    }
  }

  A arg() {
    if constexpr (Traits::kShape == ParamShape::kValue) {
      return value_;
    } else if constexpr (Traits::kArray) {
      return elements_.data();
    } else {
      return &value_;
    }
  }

  std::string Describe() const {
    if constexpr (Traits::kText) {
      return DescribeText(value_);
    } else if constexpr (Traits::kArray) {
      return DescribeRecords(Traits::kLayout, elements_.data(), count_ + kGuards);
    } else if constexpr (Traits::kShape == ParamShape::kAlloc) {
      return value_ == nullptr ? std::string("none") : DescribeRecords(Traits::kLayout, value_, 1);
    } else {
      return DescribeRecords(Traits::kLayout, &value_, 1);
    }
  }

 private:
  template <class Params>
  struct Counts {
    Params& params;
    template <size_t J>
    auto operator()() const {
      return std::get<J>(params).arg();
    }
  };

  std::conditional_t<Traits::kShape == ParamShape::kAlloc, Element*, Element> value_{};
  std::vector<Element> elements_;
  uint32_t count_ = 0;
};

template <class Interface, auto kMethod, const ParamInfo* kParams>
struct MethodCall;

template <class Interface, class C, class... A, HRESULT (C::*kMethod)(A...),
          const ParamInfo* kParams>
struct MethodCall<Interface, kMethod, kParams> {
  static Outcome Run(Interface* object, int variant) {
    return [&]<size_t... I>(std::index_sequence<I...>) {
      std::tuple<CallerParam<kParams, I, A>...> params;
      (std::get<I>(params).Init(variant, params), ...);
      Outcome outcome;
      outcome.hr = (object->*kMethod)(std::get<I>(params).arg()...);
      ((outcome.caller += std::get<I>(params).Describe() + ";"), ...);
      return outcome;
    }
    (std::index_sequence_for<A...>{});
  }
};

template <class Interface>
using SlotCall = Outcome (*)(Interface* object, int variant);

// Entry i calls slot i + 3, of each interface.
inline constexpr SlotCall<IQXCN_Lancamento> kSlotCalls[] = {
#define QX_METHOD(slot, name, area, test, params, logged, ignored) \
  &MethodCall<IQXCN_Lancamento, &IQXCN_Lancamento::name, table::kParams_##name>::Run,
#include "contract/interface_table.def"
};
inline constexpr SlotCall<IQXCN_LancamentoLote> kSlotCallsLote[] = {
#define QX_LOTE_METHOD(slot, name, area, test, params, logged, ignored) \
  &MethodCall<IQXCN_LancamentoLote, &IQXCN_LancamentoLote::name, table::kParams_##name>::Run,
#include "contract/interface_table.def"
};

}  // namespace qx::test
