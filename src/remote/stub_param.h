// The server side of one parameter: the storage the callee works on, filled from the request
// and written back into the reply (see param_marshal.h for what travels). Whatever the stub
// or the callee allocated for the call is freed when the parameter goes.
#pragma once

#include <tuple>

#include "platform/task_memory.h"
#include "remote/param_marshal.h"

namespace qx::remote {

template <const ParamInfo* kParams, size_t I, class A>
class StubParam {
  using Traits = ParamTraits<kParams, I, A>;
  using Element = typename Traits::Element;
  static constexpr bool kAlloc = Traits::kShape == ParamShape::kAlloc;
  static constexpr bool kOutOnly = Traits::kSendsOut && !Traits::kSendsIn;

 public:
  StubParam() = default;
  StubParam(const StubParam&) = delete;
  StubParam& operator=(const StubParam&) = delete;
  ~StubParam() {
    if constexpr (kAlloc) {
      if (value_ != nullptr) FreeRecordBlocks(Traits::kLayout, value_, 1);
      CoTaskMemFree(value_);
    } else if constexpr (kOutOnly && Traits::kText) {
      SysFreeString(value_);
    } else if constexpr (kOutOnly && Traits::kPointers) {
      FreeRecordBlocks(Traits::kLayout, &value_, 1);
    }
  }

  // The parameter's bytes from the request; the earlier parameters (`params`) give counts.
  template <class Params>
  bool Read(WireReader& in, Params& params) {
    if constexpr (!Traits::kSendsIn) {
      return true;
    } else if constexpr (Traits::kArray) {
      count_ = Traits::Elements(Counts<Params>{params});
      void* block = nullptr;
      bool read = ReadCountedRecords(in, Traits::kLayout, count_, allocations_, &block);
      elements_ = static_cast<Element*>(block);
      return read;
    } else if constexpr (Traits::kText) {
      return ReadText(in, &value_, allocations_);
    } else {
      return ReadRecords(in, Traits::kLayout, &value_, 1, allocations_);
    }
  }

  // The argument handed to the callee.
  A arg() {
    if constexpr (Traits::kShape == ParamShape::kValue) {
      return value_;
    } else if constexpr (Traits::kArray) {
      return elements_;
    } else {
      return &value_;
    }
  }

  // What the callee left, into the reply.
  void Write(WireWriter& out) const {
    if constexpr (!Traits::kSendsOut) {
      return;
    } else if constexpr (Traits::kArray) {
      out.U32(count_);
      WriteRecords(out, Traits::kLayout, elements_, count_);
    } else if constexpr (Traits::kText) {
      WriteText(out, value_);
    } else if constexpr (kAlloc) {
      WriteAllocated(out, Traits::kLayout, value_);
    } else {
      WriteRecords(out, Traits::kLayout, &value_, 1);
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

  std::conditional_t<kAlloc, Element*, Element> value_{};
  Element* elements_ = nullptr;
  uint32_t count_ = 0;
  Allocations allocations_;
};

}  // namespace qx::remote
