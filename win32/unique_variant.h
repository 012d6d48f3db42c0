// Owner of a VARIANT: cleared (its BSTR, interface or array freed) when the
// owner goes.
#pragma once

#include <oleauto.h>
#include <windows.h>

namespace win {

class UniqueVariant {
 public:
  UniqueVariant() { ::VariantInit(&v_); }
  ~UniqueVariant() { ::VariantClear(&v_); }
  UniqueVariant(const UniqueVariant&) = delete;
  UniqueVariant& operator=(const UniqueVariant&) = delete;

  const VARIANT& value() const { return v_; }
  // Clears the old value first, for out-parameters.
  VARIANT* put() {
    ::VariantClear(&v_);
    return &v_;
  }

 private:
  VARIANT v_;
};

}  // namespace win
