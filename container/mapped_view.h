// A read-only memory-mapped view of part of a file. The view starts at any
// byte offset: the mapping itself begins at the offset rounded down to the
// system's allocation granularity, and data() points at the requested byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/system.h"

namespace container {

class MappedViewError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class CMappedView {
 public:
  // Maps [offset, offset + length) of the file; length 0, or a length that
  // reaches past the end, means up to the end. exclusive false lets others
  // read and write the file meanwhile. Throws MappedViewError on failure: the
  // file cannot be opened, is empty, is shorter than offset, or cannot be
  // mapped (the last case also shows the system's text in an "Error" box).
  CMappedView(const sys::Path& path, bool exclusive, uint64_t offset, size_t length);
  // The same for a narrow path in the ANSI code page; a null path is a
  // programming error and throws std::invalid_argument naming "path".
  CMappedView(const char* ansiPath, bool exclusive, uint64_t offset, size_t length);
  ~CMappedView();
  CMappedView(const CMappedView&) = delete;
  CMappedView& operator=(const CMappedView&) = delete;

  const uint8_t* data() const { return m_data; }
  size_t length() const { return m_length; }
  uint64_t offset() const { return m_offset; }
  // Address the system returned for the mapping (data() minus the slack).
  const uint8_t* viewBase() const;
  void close();

  // The granularity the views round to: asked of the system once and cached.
  static uint32_t Granularity();
  // Replaces the cached granularity (0 asks the system again); for tests that
  // check the rounding with a granularity other than this system's.
  static void OverrideGranularity(uint32_t granularity);

 private:
  void create(const sys::Path& path, bool exclusive, uint64_t offset, size_t length);

  std::unique_ptr<sys::ReadOnlyFile> m_file;    // open only while creating
  std::unique_ptr<sys::MappedRegion> m_region;  // the mapping and its view
  const uint8_t* m_data = nullptr;
  size_t m_length = 0;
  uint64_t m_offset = 0;
};

}  // namespace container
