// How each parameter of the entry service interface crosses the wire, derived from its entry
// in the interface table (direction and shape) and its C++ type:
//   [in] values          their bytes (records with their blocks, texts as texts)
//   [out]/[in,out] one   the value the caller holds goes in and the callee's comes back, so
//                        whatever the callee leaves alone stays as the caller had it; out-only
//                        texts and records with pointer fields start empty instead
//   arrays               u32 element count (the count parameter, negatives as 0, or the
//                        fixed number) then exactly that many elements, both ways unless [in]
//   T** [out]            a null marker or the callee's record with its blocks; the client gets
//                        it in task memory (CoTaskMemAlloc) that the caller frees
// Pointer parameters are references: a null one (with elements to carry) is refused by the
// proxy with RPC_X_NULL_REF_POINTER, an array too large for one frame with
// RPC_X_INVALID_BOUND, both before any memory of the caller is read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <tuple>
#include <type_traits>

#include "contract/interface_table.h"
#include "platform/wire_frame.h"
#include "remote/wire_records.h"

namespace qx::remote {

constexpr size_t ParamIndex(const ParamInfo* params, const char* name) {
  size_t i = 0;
  while (params[i].name != nullptr && std::string_view(params[i].name) != name) ++i;
  return i;
}

template <class T>
uint32_t ElementCount(T value) {
  if constexpr (std::is_signed_v<T>) {
    if (value < 0) return 0;
  }
  return static_cast<uint32_t>(value);
}

template <const ParamInfo* kParams, size_t I, class A>
struct ParamTraits {
  static constexpr ParamInfo kInfo = kParams[I];
  static constexpr ParamShape kShape = kInfo.shape;
  static constexpr ParamDir kDir = kInfo.dir;
  using Element =
      std::conditional_t<kShape == ParamShape::kValue, A,
                         std::conditional_t<kShape == ParamShape::kAlloc,
                                            std::remove_pointer_t<std::remove_pointer_t<A>>,
                                            std::remove_pointer_t<A>>>;
  static constexpr bool kText = std::is_same_v<Element, BSTR>;
  static constexpr const RecordLayout& kLayout = RecordLayoutOf<Element>::kLayout;
  static constexpr bool kPointers = !kLayout.pointers.empty();
  static constexpr bool kArray = kShape == ParamShape::kArray || kShape == ParamShape::kFixed;
  static constexpr bool kSendsIn =
      kShape == ParamShape::kValue || kArray ||
      (kShape == ParamShape::kRef && (kDir != ParamDir::kOut || (!kText && !kPointers)));
  static constexpr bool kSendsOut = kDir != ParamDir::kIn;
  static constexpr size_t kCountIndex =
      kShape == ParamShape::kArray ? ParamIndex(kParams, kInfo.sizeParam) : 0;

  static_assert(kShape != ParamShape::kArray || kCountIndex < I, "count before its array");
  static_assert(!kText || kShape == ParamShape::kValue ||
                    (kShape == ParamShape::kRef && kDir == ParamDir::kOut),
                "texts go in by value or out through a pointer");
  static_assert(!kPointers || (kArray ? kDir == ParamDir::kIn : kDir != ParamDir::kInOut),
                "records with pointer fields go either in or out");

  // The number of elements an array carries; `count` gets the value of a parameter.
  template <class Count>
  static uint32_t Elements(const Count& count) {
    if constexpr (kShape == ParamShape::kFixed) {
      return kInfo.fixedCount;
    } else {
      return ElementCount(count.template operator()<kCountIndex>());
    }
  }
};

// ---- Client side: the caller's arguments. ----

template <class Tuple>
struct ArgumentCount {
  const Tuple& args;
  template <size_t J>
  auto operator()() const {
    return std::get<J>(args);
  }
};

template <const ParamInfo* kParams, size_t I, class Tuple>
HRESULT ProxyWrite(WireWriter& out, const Tuple& args) {
  using A = std::tuple_element_t<I, Tuple>;
  using Traits = ParamTraits<kParams, I, A>;
  const A& arg = std::get<I>(args);
  if constexpr (Traits::kShape == ParamShape::kValue) {
    if constexpr (Traits::kText) {
      WriteText(out, arg);
    } else {
      WriteRecords(out, Traits::kLayout, &arg, 1);
    }
  } else if constexpr (Traits::kArray) {
    uint32_t count = Traits::Elements(ArgumentCount<Tuple>{args});
    if (count > kMaxFrameLength / Traits::kLayout.size) return RPC_X_INVALID_BOUND;
    if (count > 0 && arg == nullptr) return RPC_X_NULL_REF_POINTER;
    out.U32(count);
    WriteRecords(out, Traits::kLayout, arg, count);
  } else {
    if (arg == nullptr) return RPC_X_NULL_REF_POINTER;
    if constexpr (Traits::kSendsIn) WriteRecords(out, Traits::kLayout, arg, 1);
  }
  return S_OK;
}

template <const ParamInfo* kParams, size_t I, class Tuple>
bool ProxyRead(WireReader& in, const Tuple& args, Allocations& allocations) {
  using A = std::tuple_element_t<I, Tuple>;
  using Traits = ParamTraits<kParams, I, A>;
  if constexpr (!Traits::kSendsOut) {
    return true;
  } else {
    A arg = std::get<I>(args);
    if constexpr (Traits::kArray) {
      uint32_t count = Traits::Elements(ArgumentCount<Tuple>{args});
      uint32_t sent = 0;
      return in.U32(&sent) && sent == count &&
             ReadRecords(in, Traits::kLayout, arg, count, allocations);
    } else if constexpr (Traits::kText) {
      allocations.StoredAt(arg);
      return ReadText(in, arg, allocations);
    } else if constexpr (Traits::kShape == ParamShape::kAlloc) {
      void* record = nullptr;
      allocations.StoredAt(arg);
      bool read = ReadAllocated(in, Traits::kLayout, allocations, &record);
      *arg = static_cast<typename Traits::Element*>(record);
      return read;
    } else {
      return ReadRecords(in, Traits::kLayout, arg, 1, allocations);
    }
  }
}

// The whole call: arguments out, `send` (payload, reply) -> HRESULT, results back. A reply
// without payload carries a failure that happened before the method ran (transport, object):
// the caller's variables are left alone then.
template <const ParamInfo* kParams, class Send, class... A>
HRESULT RemoteCall(Send&& send, A... values) {
  const std::tuple<A...> args(values...);
  return [&]<size_t... I>(std::index_sequence<I...>) {
    WireWriter out;
    HRESULT hr = S_OK;
    ((hr = SUCCEEDED(hr) ? ProxyWrite<kParams, I>(out, args) : hr), ...);
    if (FAILED(hr)) return hr;
    if (out.bytes().size() > kMaxFrameLength - sizeof(WireRequestHeader)) {
      return RPC_X_INVALID_BOUND;
    }
    std::vector<uint8_t> reply;
    hr = send(out, &reply);
    if (FAILED(hr) && reply.empty()) return hr;
    WireReader in(reply);
    Allocations allocations;
    if (!(ProxyRead<kParams, I>(in, args, allocations) && ...) || !in.Finished()) {
      return RPC_X_BAD_STUB_DATA;
    }
    allocations.Keep();
    return hr;
  }
  (std::index_sequence_for<A...>{});
}

}  // namespace qx::remote
