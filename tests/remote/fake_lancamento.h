// A fake entry service for the marshalling tests, generated from the interface table (both
// interfaces; the batch interface's slots are noted as their numbers): every
// method notes what it received (slot, then each [in] and [in,out] parameter described in
// full) and answers with patterns of its slot. Some answers leave outputs alone (slots that
// are multiples of 3, odd array elements), some fail with outputs set (multiples of 5),
// texts come back null, empty or non-ASCII, and allocated records come in task memory
// unless the first argument's first byte is even.
#pragma once

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>
#include <tuple>
#include <utility>

#include "contract/interface_table.h"
#include "contract/iqxcn_lancamento.h"
#include "platform/com_runtime.h"
#include "record_pattern.h"
#include "remote/param_marshal.h"

namespace qx::test {

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
    const A& arg = std::get<I>(args);
    if constexpr (Traits::kShape == ParamShape::kValue) {
      if constexpr (Traits::kText) {
        return DescribeText(arg);
      } else {
        return DescribeRecords(Traits::kLayout, &arg, 1);
      }
    } else if constexpr (Traits::kDir == ParamDir::kOut) {
      return "out";
    } else if constexpr (Traits::kArray) {
      return DescribeRecords(Traits::kLayout, arg,
                             Traits::Elements(remote::ArgumentCount<Tuple>{args}));
    } else {
      return DescribeRecords(Traits::kLayout, arg, 1);
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
