// The root COM interface. Its three slots come first in every interface's table, in this
// order; there is no virtual destructor, so that no extra slot sneaks in: an object goes
// away through its own Release.
#pragma once

#include "platform/com_types.h"
#include "platform/guid.h"

// {00000000-0000-0000-C000-000000000046}
inline constexpr IID IID_IUnknown = {
    0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct IUnknown {
  // Stores the interface asked for in *object (AddRef'ed) and gives S_OK; E_NOINTERFACE with
  // *object null when the object lacks it; E_POINTER when object is null.
  virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  ~IUnknown() = default;
};
