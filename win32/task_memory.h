// Owner of one block of COM task memory: CoTaskMemFree on destruction. The
// element type only says how the block is read; the block is freed whole.
#pragma once

#include <objbase.h>

#include <cstddef>
#include <utility>

namespace win {

template <class T>
class TaskMemory {
 public:
  TaskMemory() = default;
  explicit TaskMemory(T* p) : p_(p) {}
  // count zero-filled elements; null (and !*this) when memory is short.
  static TaskMemory Allocate(size_t count) {
    if (count > static_cast<size_t>(-1) / sizeof(T)) return TaskMemory();
    void* p = ::CoTaskMemAlloc(count * sizeof(T));
    if (p) ZeroMemory(p, count * sizeof(T));
    return TaskMemory(static_cast<T*>(p));
  }
  ~TaskMemory() { reset(); }
  TaskMemory(const TaskMemory&) = delete;
  TaskMemory& operator=(const TaskMemory&) = delete;
  TaskMemory(TaskMemory&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
  TaskMemory& operator=(TaskMemory&& o) noexcept {
    if (this != &o) reset(std::exchange(o.p_, nullptr));
    return *this;
  }

  T* get() const { return p_; }
  T& operator[](size_t i) const { return p_[i]; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  // For out-parameters that receive a block: frees what is held first.
  T** put() {
    reset();
    return &p_;
  }
  T* release() { return std::exchange(p_, nullptr); }
  void reset(T* p = nullptr) {
    if (p_) ::CoTaskMemFree(p_);
    p_ = p;
  }

 private:
  T* p_ = nullptr;
};

}  // namespace win
