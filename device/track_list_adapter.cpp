#include "device/track_list_adapter.h"

namespace device {

HRESULT CTrackListDeviceAdapter::MoveItems(treelist::Eid reference, treelist::Placement placement,
                                           const std::vector<treelist::Eid>& items) {
  m_refused.clear();
  const HRESULT h = m_wrap.MoveItems(reference, static_cast<uint32_t>(placement), items, &m_refused);
  m_moveFailed = FAILED(h);
  return h;
}

std::vector<treelist::Eid> CTrackListDeviceAdapter::TakeRefusedMoves() {
  std::vector<treelist::Eid> out;
  out.swap(m_refused);
  return out;
}

bool CTrackListDeviceAdapter::TakeMoveFailed() {
  const bool failed = m_moveFailed;
  m_moveFailed = false;
  return failed;
}

}  // namespace device
