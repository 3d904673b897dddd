// For the marshalling tests: interface values filled with patterns (records
// deeply, with blocks in task memory) and described as text, blocks and texts included, so
// that two calls can be compared byte for byte. A caller of any slot of IQXCN_Lancamento or
// IQXCN_LancamentoLote with pattern arguments made from the interface table, which describes
// what the caller holds afterwards: every output, arrays with two guard elements past their
// count, task memory blocks and texts in full; the same variant gives the same arguments, so
// an in-process call and a remote one can be compared:
//   variant 0: counts 3, texts non-ASCII, records with blocks of 0..2 elements
//   variant 1: counts 0, empty texts;  variant 2: negative (else 1) counts, null texts
// And a fake entry service generated from the interface table (both interfaces; the batch
// interface's slots are noted as their numbers): every method notes what it received (slot,
// then each [in] and [in,out] parameter described in full) and answers with patterns of its
// slot. Some answers leave outputs alone (slots that are multiples of 3, odd array elements),
// some fail with outputs set (multiples of 5), texts come back null, empty or non-ASCII, and
// allocated records come in task memory unless the first argument's first byte is even.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "contract/interface_ids.h"
#include "contract/interface_table.h"
#include "contract/iqxcn_lancamento.h"
#include "contract/record_layout.h"
#include "platform/bstr.h"
#include "platform/com_runtime.h"
#include "platform/task_memory.h"
#include "remote/lancamento_remote.h"
#include "remote/param_marshal.h"
#include "remote/wire_records.h"

namespace qx::test {

// Fills `count` records with bytes from `seed`; each pointer field gets a block of
// (seed % 3) elements in task memory, or, when seed % 5 == 4, a null pointer. Not inlined:
// GCC would warn about the pointer stores it cannot rule out for records without pointers.
[[gnu::noinline]] inline void FillRecords(const RecordLayout& layout, void* records, uint32_t count,
                                          uint32_t seed) {
  auto* bytes = static_cast<uint8_t*>(records);
  for (size_t i = 0; i < size_t{count} * layout.size; ++i)
    bytes[i] = (seed * 31 + i * 7 + 1) & 0xFF;
  for (uint32_t r = 0; r < count; ++r) {
    uint8_t* record = bytes + size_t{r} * layout.size;
    for (const PointerField& field : layout.pointers) {
      uint32_t elements = seed % 3;
      std::memcpy(record + field.countOffset, &elements, sizeof(elements));
      void* block = nullptr;
      if (seed % 5 != 4) {
        block = CoTaskMemAlloc(size_t{elements} * field.element->size);
        FillRecords(*field.element, block, elements, seed + r + 1);
      }
      std::memcpy(record + field.offset, &block, sizeof(block));
    }
  }
}

inline std::string Hex(const void* data, size_t size) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (size_t i = 0; i < size; ++i) {
    uint8_t byte = static_cast<const uint8_t*>(data)[i];
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  return text;
}

// The records' bytes (pointer fields as "P"), then each block as [count:...] or [null].
inline std::string DescribeRecords(const RecordLayout& layout, const void* records,
                                   uint32_t count) {
  const auto* bytes = static_cast<const uint8_t*>(records);
  std::string text;
  for (uint32_t r = 0; r < count; ++r) {
    const uint8_t* record = bytes + size_t{r} * layout.size;
    uint32_t at = 0;
    for (const PointerField& field : layout.pointers) {
      text += Hex(record + at, field.offset - at) + "P";
      at = field.offset + sizeof(void*);
    }
    text += Hex(record + at, layout.size - at);
    for (const PointerField& field : layout.pointers) {
      const void* block = nullptr;
      std::memcpy(&block, record + field.offset, sizeof(block));
      uint32_t elements = 0;
      std::memcpy(&elements, record + field.countOffset, sizeof(elements));
      text += block == nullptr ? std::string("[null]")
                               : "[" + std::to_string(elements) + ":" +
                                     DescribeRecords(*field.element, block, elements) + "]";
    }
    text += "|";
  }
  return text;
}

inline std::string DescribeText(BSTR text) {
  return text == nullptr ? std::string("T(null)") : "T(" + Hex(text, SysStringByteLen(text)) + ")";
}

// An argument as its holder sees it: a text, `elements` elements of an array, an allocated
// record ("none" when there is none), or one record.
template <class Traits, class A>
std::string DescribeArg(const A& arg, size_t elements) {
  if constexpr (Traits::kShape == ParamShape::kValue) {
    if constexpr (Traits::kText) {
      return DescribeText(arg);
    } else {
      return DescribeRecords(Traits::kLayout, &arg, 1);
    }
  } else if constexpr (Traits::kText) {
    return DescribeText(*arg);
  } else if constexpr (Traits::kArray) {
    return DescribeRecords(Traits::kLayout, arg, static_cast<uint32_t>(elements));
  } else if constexpr (Traits::kShape == ParamShape::kAlloc) {
    return *arg == nullptr ? std::string("none") : DescribeRecords(Traits::kLayout, *arg, 1);
  } else {
    return DescribeRecords(Traits::kLayout, arg, 1);
  }
}

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
      const uint32_t count =
          Traits::Elements([&]<size_t J>() { return std::get<J>(params).arg(); }) + kGuards;
      elements_.resize(count);
      FillRecords(Traits::kLayout, elements_.data(), count, seed);
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

  std::string Describe() { return DescribeArg<Traits>(arg(), elements_.size()); }

 private:
  std::conditional_t<Traits::kShape == ParamShape::kAlloc, Element*, Element> value_{};
  std::vector<Element> elements_;
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

// The text a slot answers with: null, empty or "Lançamento ©" with an embedded NUL.
inline BSTR AnswerText(int slot) {
  if (slot % 4 == 0) return nullptr;
  if (slot % 4 == 1) return SysAllocString(u"");
  static const char16_t kText[] = u"Lan\u00e7amento \u00a9\0\u20ac";
  return SysAllocStringLen(kText, sizeof(kText) / 2 - 1);
}

inline HRESULT AnswerResult(int slot) {
  if (slot % 5 == 0) return static_cast<HRESULT>(0x80040000u | slot);
  return slot % 2 == 0 ? S_OK : static_cast<HRESULT>(0x00040000u | slot);
}

class FakeLancamento final : public IQXCN_Lancamento, public IQXCN_LancamentoLote {
 public:
  HRESULT QueryInterface(REFIID iid, void** object) override {
    *object = nullptr;
    if (iid == IID_IQXCN_LancamentoLote) {
      *object = static_cast<IQXCN_LancamentoLote*>(this);
    } else if (iid == IID_IUnknown || iid == IID_IQXCN_Lancamento) {
      *object = static_cast<IQXCN_Lancamento*>(this);
    } else {
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // What the calls so far received.
  std::string seen() {
    std::lock_guard lock(mutex_);
    return seen_;
  }

#define QX_METHOD(slot, name, area, test, params, logged, ignored) \
  HRESULT name QX_DECLS params override {                          \
    return Handle<table::kParams_##name, slot> QX_NAMES params;    \
  }
#define QX_LOTE_METHOD QX_METHOD
#include "contract/interface_table.def"

 private:
  template <const ParamInfo* kParams, int kSlot, class... A>
  HRESULT Handle(A... values) {
    const std::tuple<A...> args(values...);
    [&]<size_t... I>(std::index_sequence<I...>) {
      std::string seen = "slot " + std::to_string(kSlot) + ":";
      ((seen += See<kParams, I>(args) + ";"), ...);
      (Answer<kParams, I>(args, kSlot), ...);
      std::lock_guard lock(mutex_);
      seen_ += seen + "\n";
    }
    (std::index_sequence_for<A...>{});
    return AnswerResult(kSlot);
  }

  template <const ParamInfo* kParams, size_t I, class Tuple>
  static std::string See(const Tuple& args) {
    using A = std::tuple_element_t<I, Tuple>;
    using Traits = remote::ParamTraits<kParams, I, A>;
    if constexpr (Traits::kDir == ParamDir::kOut) {
      return "out";
    } else if constexpr (Traits::kArray) {
      return DescribeArg<Traits>(std::get<I>(args),
                                 Traits::Elements(remote::ArgumentCount<Tuple>{args}));
    } else {
      return DescribeArg<Traits>(std::get<I>(args), 1);
    }
  }

  template <const ParamInfo* kParams, size_t I, class Tuple>
  static void Answer(const Tuple& args, int slot) {
    using A = std::tuple_element_t<I, Tuple>;
    using Traits = remote::ParamTraits<kParams, I, A>;
    A arg = std::get<I>(args);
    uint32_t seed = slot * 16 + I;
    if constexpr (!Traits::kSendsOut) {
      return;
    } else if constexpr (Traits::kArray) {
      uint32_t count = Traits::Elements(remote::ArgumentCount<Tuple>{args});
      for (uint32_t i = 0; i < count; i += 2) FillRecords(Traits::kLayout, &arg[i], 1, seed + i);
    } else if constexpr (Traits::kText) {
      *arg = AnswerText(slot);
    } else if constexpr (Traits::kShape == ParamShape::kAlloc) {
      *arg = nullptr;
      uint8_t first = 0;  // an even first byte of the first argument: nothing allocated
      std::memcpy(&first, &std::get<0>(args), 1);
      if (first % 2 == 0) return;
      *arg = static_cast<typename Traits::Element*>(CoTaskMemAlloc(Traits::kLayout.size));
      FillRecords(Traits::kLayout, *arg, 1, seed);
    } else if (Traits::kPointers || slot % 3 != 0) {
      FillRecords(Traits::kLayout, arg, 1, seed);
    }
  }

  std::mutex mutex_;
  std::string seen_;
  std::atomic<ULONG> references_{0};
};

// Makes fakes and keeps the last one it made (with a reference) for the test to inspect.
class FakeLancamentoFactory final : public IClassFactory {
 public:
  ~FakeLancamentoFactory() {
    if (last_ != nullptr) last_->Release();
  }
  HRESULT QueryInterface(REFIID iid, void** object) override {
    if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
    *object = static_cast<IClassFactory*>(this);
    return S_OK;
  }
  ULONG AddRef() override { return 2; }
  ULONG Release() override { return 1; }
  HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    auto* fake = new FakeLancamento;
    fake->AddRef();
    HRESULT hr = fake->QueryInterface(iid, object);
    std::lock_guard lock(mutex_);
    if (last_ != nullptr) last_->Release();
    last_ = fake;
    return hr;
  }
  HRESULT LockServer(int) override { return S_OK; }

  std::string LastSeen() {
    std::lock_guard lock(mutex_);
    return last_ == nullptr ? std::string() : last_->seen();
  }

 private:
  std::mutex mutex_;
  FakeLancamento* last_ = nullptr;
};

}  // namespace qx::test
