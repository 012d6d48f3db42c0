#include "container/mapped_view.h"

#include <atomic>

namespace container {

namespace {
// -1 until the system has been asked; written before the first view is made.
std::atomic<int64_t> g_granularity{-1};
}  // namespace

uint32_t CMappedView::Granularity() {
  int64_t g = g_granularity.load();
  if (g < 0) {
    g = sys::AllocationGranularity();
    g_granularity.store(g);
  }
  return static_cast<uint32_t>(g);
}

void CMappedView::OverrideGranularity(uint32_t granularity) {
  g_granularity.store(granularity == 0 ? -1 : static_cast<int64_t>(granularity));
}

CMappedView::CMappedView(const sys::Path& path, bool exclusive, uint64_t offset, size_t length) {
  create(path, exclusive, offset, length);
}

CMappedView::CMappedView(const char* ansiPath, bool exclusive, uint64_t offset, size_t length) {
  if (ansiPath == nullptr) throw std::invalid_argument("util\\lmrmmap: assertion failed: path");
  create(sys::PathFromAnsi(ansiPath), exclusive, offset, length);
}

CMappedView::~CMappedView() { close(); }

const uint8_t* CMappedView::viewBase() const { return m_region ? m_region->base() : nullptr; }

void CMappedView::close() {
  m_region.reset();
  m_file.reset();
  m_data = nullptr;
  m_length = 0;
}

void CMappedView::create(const sys::Path& path, bool exclusive, uint64_t offset, size_t length) {
  m_file = sys::OpenReadOnly(path, exclusive);
  if (!m_file) throw MappedViewError("cannot open file");

  uint64_t size = 0;
  if (!m_file->size(size) || size == 0 || size < offset) {
    m_file.reset();
    throw MappedViewError("file empty or shorter than the offset");
  }

  uint64_t available = size - offset;
  uint64_t wanted = (length == 0 || length > available) ? available : length;
  if (wanted == 0 || wanted > SIZE_MAX) {
    m_file.reset();
    throw MappedViewError("nothing to map at this offset");
  }

  const uint32_t granularity = Granularity();
  const uint64_t slack = granularity ? offset % granularity : 0;
  const uint64_t mapOffset = offset - slack;
  const uint64_t mapLength = wanted + slack;

  m_region = m_file->map(mapOffset, static_cast<size_t>(mapLength));
  // The mapping keeps the file open; the handle is not needed any more.
  m_file->closeHandle();
  m_file.reset();
  if (!m_region) {
    sys::ShowErrorMessage("Error", sys::ErrorText(sys::LastError()));
    throw MappedViewError("cannot map the view");
  }

  m_offset = offset;
  m_length = static_cast<size_t>(wanted);
  m_data = m_region->base() + slack;
}

}  // namespace container
