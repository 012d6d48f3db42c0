// Owner of a property block exchanged with the device-access library: an
// array of entries in task memory, each with its own task-memory array of
// one VARIANT. The destructor clears every VARIANT, frees each value array
// and then the block, on every path, whether the block came from
// GetProperties or was built here for SetProperties or an export.
#pragma once

#include <cstdint>
#include <string>

#include "device/ipac.h"

namespace device {

class PropertyBlock {
 public:
  PropertyBlock() = default;
  ~PropertyBlock() { reset(); }
  PropertyBlock(const PropertyBlock&) = delete;
  PropertyBlock& operator=(const PropertyBlock&) = delete;
  PropertyBlock(PropertyBlock&& o) noexcept;
  PropertyBlock& operator=(PropertyBlock&& o) noexcept;

  // For GetProperties: frees what is held and lends the slot for a block of
  // count entries.
  PropertyEntry** put(ULONG count);

  // A block of count entries, each with one empty VARIANT; E_OUTOFMEMORY
  // (and an empty block) when task memory is short.
  HRESULT allocate(ULONG count);
  // Fill entry i; each E_OUTOFMEMORY when the value cannot be allocated.
  HRESULT setText(ULONG i, ULONG id, const std::u16string& text);
  HRESULT setUnsigned(ULONG i, ULONG id, uint32_t value);
  HRESULT setPlayTime(ULONG i, ULONG id, int64_t ms);  // currency-typed
  HRESULT setBytes(ULONG i, ULONG id, const uint8_t* bytes, size_t count);

  PropertyEntry* get() const { return entries_; }
  ULONG count() const { return count_; }
  // The first value of entry i; null when there is none.
  const VARIANT* value(ULONG i) const;

  void reset();

 private:
  VARIANT* slot(ULONG i, ULONG id);

  PropertyEntry* entries_ = nullptr;
  ULONG count_ = 0;
};

// Readers that accept what a library may send: a text is a BSTR (anything
// else reads as empty); a play time is currency (read as its two 32-bit
// halves) or a 64-bit integer; a number is any integer type.
std::u16string TextOf(const VARIANT* v);
int64_t PlayTimeOf(const VARIANT* v);
uint32_t UnsignedOf(const VARIANT* v);

}  // namespace device
