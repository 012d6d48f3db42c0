// ServiceTransport: the maker's pass-through service, reached through COM
// (XP and later, for a user who is not an administrator and so may not
// send pass-through requests himself). The interface is created with the
// transport and kept for its life, unless a disconnected service forces one
// re-creation.
#pragma once

#include "devcmd/device_system.h"
#include "devcmd/passthrough_service.h"
#include "devcmd/scsi_transport.h"
#include "win32/com_ptr.h"

namespace devcmd {

class ServiceTransport final : public ScsiTransport {
 public:
  // Creates the service object; when that fails, initialises COM on this
  // thread and tries once more. The transport exists even without it, and
  // then every operation fails.
  explicit ServiceTransport(DeviceSystem& system);
  // Releases the service, then undoes this transport's COM initialisation.
  ~ServiceTransport() override;
  ServiceTransport(const ServiceTransport&) = delete;
  ServiceTransport& operator=(const ServiceTransport&) = delete;

  HRESULT SendNoData(const uint8_t* cdb, uint32_t cdbLength) override;
  HRESULT SendIn(const uint8_t* cdb, uint32_t cdbLength, uint8_t* buffer, uint32_t length) override;
  HRESULT SendOut(const uint8_t* cdb, uint32_t cdbLength, uint8_t* buffer, uint32_t length) override;
  HRESULT Inquiry(uint8_t* buffer, uint32_t length) override;
  HRESULT SelectDrive(int index) override;

  bool connected() const { return static_cast<bool>(m_pService); }
  // Sense key, ASC and ASCQ the service reported for the last call.
  const BYTE* lastStatus() const { return m_abyStatus; }

 private:
  HRESULT Create();
  // Makes one call; after RPC_E_DISCONNECTED, creates the service again
  // and repeats the call once.
  template <class Call>
  HRESULT Invoke(Call call);

  DeviceSystem& m_system;
  win::ComPtr<IPassThroughService> m_pService;
  bool m_bUninitialize = false;
  BYTE m_abyStatus[3] = {};
};

}  // namespace devcmd
