#include "device/property_block.h"

#include <cstring>
#include <utility>

#include "win32/bstr.h"
#include "win32/safe_array.h"
#include "win32/task_memory.h"

namespace device {

PropertyBlock::PropertyBlock(PropertyBlock&& o) noexcept
    : entries_(std::exchange(o.entries_, nullptr)), count_(std::exchange(o.count_, 0)) {}

PropertyBlock& PropertyBlock::operator=(PropertyBlock&& o) noexcept {
  if (this != &o) {
    reset();
    entries_ = std::exchange(o.entries_, nullptr);
    count_ = std::exchange(o.count_, 0);
  }
  return *this;
}

void PropertyBlock::reset() {
  if (entries_) {
    for (ULONG i = 0; i < count_; ++i) {
      VARIANT* values = entries_[i].values;
      if (!values) continue;
      for (ULONG v = 0; v < entries_[i].count; ++v) ::VariantClear(&values[v]);
      ::CoTaskMemFree(values);
    }
    ::CoTaskMemFree(entries_);
  }
  entries_ = nullptr;
  count_ = 0;
}

PropertyEntry** PropertyBlock::put(ULONG count) {
  reset();
  count_ = count;
  return &entries_;
}

HRESULT PropertyBlock::allocate(ULONG count) {
  reset();
  auto entries = win::TaskMemory<PropertyEntry>::Allocate(count ? count : 1);
  if (!entries) return E_OUTOFMEMORY;
  entries_ = entries.release();
  count_ = count;
  for (ULONG i = 0; i < count; ++i) {
    auto value = win::TaskMemory<VARIANT>::Allocate(1);
    if (!value) {
      reset();  // the entries allocated so far go too
      return E_OUTOFMEMORY;
    }
    ::VariantInit(value.get());
    entries_[i].count = 1;
    entries_[i].values = value.release();
  }
  return S_OK;
}

VARIANT* PropertyBlock::slot(ULONG i, ULONG id) {
  if (i >= count_ || !entries_[i].values) return nullptr;
  entries_[i].id = id;
  entries_[i].reserved = 0;
  ::VariantClear(&entries_[i].values[0]);
  return &entries_[i].values[0];
}

HRESULT PropertyBlock::setText(ULONG i, ULONG id, const std::u16string& text) {
  VARIANT* v = slot(i, id);
  if (!v) return E_INVALIDARG;
  win::UniqueBstr b = win::UniqueBstr::FromText(text);
  if (!b.get()) return E_OUTOFMEMORY;
  v->vt = VT_BSTR;
  v->bstrVal = b.release();
  return S_OK;
}

HRESULT PropertyBlock::setUnsigned(ULONG i, ULONG id, uint32_t value) {
  VARIANT* v = slot(i, id);
  if (!v) return E_INVALIDARG;
  v->vt = VT_UI4;
  v->ulVal = value;
  return S_OK;
}

HRESULT PropertyBlock::setPlayTime(ULONG i, ULONG id, int64_t ms) {
  VARIANT* v = slot(i, id);
  if (!v) return E_INVALIDARG;
  v->vt = VT_CY;
  v->cyVal.int64 = ms;
  return S_OK;
}

HRESULT PropertyBlock::setBytes(ULONG i, ULONG id, const uint8_t* bytes, size_t count) {
  VARIANT* v = slot(i, id);
  if (!v) return E_INVALIDARG;
  win::UniqueSafeArray a(::SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(count)));
  if (!a) return E_OUTOFMEMORY;
  if (count) {
    win::SafeArrayAccess access(a.get());
    if (!access.data()) return E_OUTOFMEMORY;
    std::memcpy(access.data(), bytes, count);
  }
  v->vt = VT_ARRAY | VT_UI1;
  v->parray = a.release();
  return S_OK;
}

const VARIANT* PropertyBlock::value(ULONG i) const {
  if (!entries_ || i >= count_ || entries_[i].count == 0) return nullptr;
  return entries_[i].values;
}

std::u16string TextOf(const VARIANT* v) {
  if (!v || v->vt != VT_BSTR || !v->bstrVal) return std::u16string();
  return std::u16string(reinterpret_cast<const char16_t*>(v->bstrVal), ::SysStringLen(v->bstrVal));
}

int64_t PlayTimeOf(const VARIANT* v) {
  if (!v) return 0;
  if (v->vt == VT_CY) {
    const uint64_t low = v->cyVal.Lo;
    const uint64_t high = static_cast<uint32_t>(v->cyVal.Hi);
    return static_cast<int64_t>(high << 32 | low);
  }
  if (v->vt == VT_I8) return v->llVal;
  if (v->vt == VT_UI8) return static_cast<int64_t>(v->ullVal);
  return static_cast<int64_t>(UnsignedOf(v));
}

uint32_t UnsignedOf(const VARIANT* v) {
  if (!v) return 0;
  switch (v->vt) {
    case VT_UI4:
    case VT_UINT:
      return v->ulVal;
    case VT_I4:
    case VT_INT:
      return static_cast<uint32_t>(v->lVal);
    case VT_UI2:
      return v->uiVal;
    case VT_I2:
      return static_cast<uint32_t>(static_cast<int32_t>(v->iVal));
    case VT_UI1:
      return v->bVal;
    default:
      return 0;
  }
}

}  // namespace device
