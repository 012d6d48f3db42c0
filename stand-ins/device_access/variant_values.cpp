#include "stand-ins/device_access/variant_values.h"

#include <cstring>

#include "win32/safe_array.h"

namespace standin {

PropertyValue FromVariant(const VARIANT& v) {
  switch (v.vt) {
    case VT_BSTR:
      return std::u16string(reinterpret_cast<const char16_t*>(v.bstrVal ? v.bstrVal : L""),
                            v.bstrVal ? ::SysStringLen(v.bstrVal) : 0);
    case VT_UI4:
      return static_cast<uint32_t>(v.ulVal);
    case VT_CY:
      return static_cast<int64_t>(v.cyVal.int64);
    case VT_I8:
      return static_cast<int64_t>(v.llVal);
    case VT_ARRAY | VT_UI1: {
      SAFEARRAY* a = v.parray;
      if (!a || ::SafeArrayGetDim(a) != 1) return std::monostate{};
      LONG lower = 0, upper = -1;
      if (FAILED(::SafeArrayGetLBound(a, 1, &lower)) || FAILED(::SafeArrayGetUBound(a, 1, &upper))) {
        return std::monostate{};
      }
      const size_t n = upper >= lower ? static_cast<size_t>(upper - lower + 1) : 0;
      std::vector<uint8_t> bytes(n);
      win::SafeArrayAccess access(a);
      if (n && !access.data()) return std::monostate{};
      if (n) std::memcpy(bytes.data(), access.data(), n);
      return bytes;
    }
    default:
      return std::monostate{};
  }
}

HRESULT ToVariant(const PropertyValue& value, VARIANT& out) {
  ::VariantInit(&out);
  if (auto* s = std::get_if<std::u16string>(&value)) {
    BSTR b = ::SysAllocStringLen(reinterpret_cast<const wchar_t*>(s->data()), static_cast<UINT>(s->size()));
    if (!b) return E_OUTOFMEMORY;
    out.vt = VT_BSTR;
    out.bstrVal = b;
  } else if (auto* u = std::get_if<uint32_t>(&value)) {
    out.vt = VT_UI4;
    out.ulVal = *u;
  } else if (auto* i = std::get_if<int64_t>(&value)) {
    out.vt = VT_CY;
    out.cyVal.int64 = *i;
  } else if (auto* bytes = std::get_if<std::vector<uint8_t>>(&value)) {
    win::UniqueSafeArray a(::SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes->size())));
    if (!a) return E_OUTOFMEMORY;
    if (!bytes->empty()) {
      win::SafeArrayAccess access(a.get());
      if (!access.data()) return E_OUTOFMEMORY;
      std::memcpy(access.data(), bytes->data(), bytes->size());
    }
    out.vt = VT_ARRAY | VT_UI1;
    out.parray = a.release();
  }
  return S_OK;
}

}  // namespace standin
