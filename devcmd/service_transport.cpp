#include "devcmd/service_transport.h"

#include "devcmd/drive_selection.h"

namespace devcmd {

ServiceTransport::ServiceTransport(DeviceSystem& system) : m_system(system) {
  if (hr::Succeeded(Create())) return;
  // Most often the calling thread has not initialised COM. S_FALSE (already
  // initialised) must be balanced too.
  if (SUCCEEDED(m_system.CoInitialize())) m_bUninitialize = true;
  Create();
}

ServiceTransport::~ServiceTransport() {
  m_pService.reset();
  // Leaving the host's thread initialised would fix its apartment for good.
  if (m_bUninitialize) m_system.CoUninitialize();
}

HRESULT ServiceTransport::Create() {
  const HRESULT created = m_system.CoCreateInstance(kClsidPassThroughService, nullptr, kServiceClassContext,
                                                    kIidPassThroughService, m_pService.putVoid());
  if (FAILED(created)) {
    m_pService.reset();
    return created;
  }
  return m_pService ? hr::kOk : hr::kFail;
}

template <class Call>
HRESULT ServiceTransport::Invoke(Call call) {
  if (!m_pService) return hr::kFail;
  if (m_nDrive < 0) return hr::kUnexpected;
  const short drive = static_cast<short>(m_nDrive);
  m_abyStatus[0] = m_abyStatus[1] = m_abyStatus[2] = 0;
  HRESULT result = call(*m_pService.get(), drive, m_abyStatus);
  if (result == RPC_E_DISCONNECTED) {
    // The service was restarted: the old object is gone for good.
    m_pService.reset();
    const HRESULT created = Create();
    if (hr::Failed(created)) return created;
    m_abyStatus[0] = m_abyStatus[1] = m_abyStatus[2] = 0;
    result = call(*m_pService.get(), drive, m_abyStatus);
  }
  return SUCCEEDED(result) ? hr::kOk : result;
}

HRESULT ServiceTransport::SelectDrive(int index) { return SelectCheckedDrive(m_system, index, m_nDrive); }

HRESULT ServiceTransport::SendNoData(const uint8_t* cdb, uint32_t cdbLength) {
  if (!m_pService) return hr::kFail;
  const HRESULT check = CheckCommand(cdb, cdbLength, nullptr, 0);
  if (hr::Failed(check)) return check;
  return Invoke([&](IPassThroughService& s, short drive, BYTE* status) {
    return s.SendNoData(drive, cdbLength, cdb, status);
  });
}

HRESULT ServiceTransport::SendIn(const uint8_t* cdb, uint32_t cdbLength, uint8_t* buffer, uint32_t length) {
  if (!m_pService) return hr::kFail;
  const HRESULT check = CheckCommand(cdb, cdbLength, buffer, length);
  if (hr::Failed(check)) return check;
  return Invoke([&](IPassThroughService& s, short drive, BYTE* status) {
    return s.SendIn(drive, cdbLength, cdb, length, buffer, status);
  });
}

HRESULT ServiceTransport::SendOut(const uint8_t* cdb, uint32_t cdbLength, uint8_t* buffer, uint32_t length) {
  if (!m_pService) return hr::kFail;
  const HRESULT check = CheckCommand(cdb, cdbLength, buffer, length);
  if (hr::Failed(check)) return check;
  return Invoke([&](IPassThroughService& s, short drive, BYTE* status) {
    return s.SendOut(drive, cdbLength, cdb, length, buffer, status);
  });
}

HRESULT ServiceTransport::Inquiry(uint8_t* buffer, uint32_t length) {
  if (!m_pService) return hr::kFail;
  if (buffer == nullptr) return hr::kPointer;
  if (length == 0 || length > 255) return hr::kInvalidArg;
  return Invoke([&](IPassThroughService& s, short drive, BYTE* status) {
    return s.Inquiry(drive, length, buffer, status);
  });
}

}  // namespace devcmd
