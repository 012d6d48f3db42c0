// The drop phases' device (job_device.h) over the device wrapper.
#pragma once

#include "app/engine/job_device.h"
#include "device/ipac_wrap.h"
#include "platform/cost_meter.h"

namespace app::engine {

class CWrapJobDevice final : public JobDevice {
 public:
  explicit CWrapJobDevice(device::CIPACWrap& wrap) : wrap_(wrap) {}
  // However the drop ends, no source opened ahead stays open.
  ~CWrapJobDevice() override { wrap_.ForgetExpectedSources(); }
  CWrapJobDevice(const CWrapJobDevice&) = delete;
  CWrapJobDevice& operator=(const CWrapJobDevice&) = delete;

  HRESULT StartTransaction() override {
    costs::Scope meter(costs::Area::kTransaction);
    return wrap_.StartTransaction();
  }
  HRESULT EndTransaction() override {
    costs::Scope meter(costs::Area::kTransaction);
    return wrap_.EndTransaction();
  }
  HRESULT CreateAlbum(const std::u16string& name, uint32_t& eid) override {
    costs::Scope meter(costs::Area::kTransaction);
    return wrap_.CreateAlbum(name, eid);
  }
  HRESULT WaitForCurrentOperation() override { return wrap_.WaitForCurrentOperation(); }
  HRESULT Transfer(const TransferJob& job, uint32_t albumEid, uint32_t placement,
                   uint32_t& newTrackEid) override {
    costs::Scope meter(costs::Area::kTransfer);
    return wrap_.Transfer(job, albumEid, placement, &newTrackEid);
  }
  void ExpectSource(const sys::Path& source) override { wrap_.ExpectSource(source); }
  // EnumTracks without records: the album's child count.
  int64_t AlbumTrackCount(uint32_t albumEid) override;

 private:
  device::CIPACWrap& wrap_;
};

}  // namespace app::engine
