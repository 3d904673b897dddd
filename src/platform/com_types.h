// The COM result code and its basic tests, the COM codes and the automation
// currency, as the Windows headers define them.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>

using HRESULT = int32_t;
// "unsigned long" of the Windows interfaces: 32 bits there, so 32 bits here.
using ULONG = uint32_t;

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
inline constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_UNEXPECTED = static_cast<HRESULT>(0x8000FFFFu);
inline constexpr HRESULT E_ACCESSDENIED = static_cast<HRESULT>(0x80070005u);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);

inline constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
inline constexpr bool FAILED(HRESULT hr) { return hr < 0; }

// A Windows system error code as an HRESULT of facility 7: values below 1 pass
// unchanged.
inline constexpr HRESULT HRESULT_FROM_WIN32(int32_t error) {
  return error <= 0 ? error
                    : static_cast<HRESULT>((static_cast<uint32_t>(error) & 0xFFFFu) | 0x80070000u);
}

// The error object that COM wrappers throw: it carries one HRESULT.
class _com_error {
 public:
  explicit _com_error(HRESULT hr) : m_hr(hr) {}
  HRESULT Error() const { return m_hr; }

 private:
  HRESULT m_hr;
};

// The automation currency type: a signed 64-bit amount in ten-thousandths, stored as its 8
// little-endian bytes in records and interface calls.
struct CURRENCY {
  int64_t int64;

  constexpr auto operator<=>(const CURRENCY&) const = default;
};
static_assert(sizeof(CURRENCY) == 8);
static_assert(offsetof(CURRENCY, int64) == 0);
