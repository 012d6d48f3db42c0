// Conversions between the library's VARIANT values and the simulated
// player's plain values: text as BSTR, unsigned 32-bit as VT_UI4, the play
// time as currency (VT_CY, also VT_I8 when read), bytes as a
// one-dimensional VT_UI1 array.
#pragma once

#include <oaidl.h>
#include <windows.h>

#include "stand-ins/device_access/property_value.h"

namespace standin {

// An empty value for a VARIANT type the player does not know.
PropertyValue FromVariant(const VARIANT& v);
// Fills an initialised VARIANT; E_OUTOFMEMORY when an allocation fails.
HRESULT ToVariant(const PropertyValue& value, VARIANT& out);

}  // namespace standin
