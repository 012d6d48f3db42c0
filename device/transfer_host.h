// What one track transfer needs of the wrapper that runs it: the bound
// library and the player's name, the broker that reads the source file, the
// receiver of progress, the stop and cancel queries, the live connection
// flag, a fresh track number and the end of the caller's transaction. The
// wrapper hands a transfer this view of itself rather than its insides.
#pragma once

#include <windows.h>

#include <cstdint>

#include "device/ipac.h"
#include "device/rv3_broker.h"
#include "device/wrap_events.h"

namespace device {

class ITransferHost {
 public:
  // The bound library; never null while a transfer runs.
  virtual IPAC& TransferLibrary() = 0;
  virtual BSTR TransferDevice() const = 0;
  virtual CRv3Broker& TransferBroker() = 0;
  virtual IWrapEvents& TransferEvents() = 0;
  // A cancel, or the player gone.
  virtual bool StopRequested() const = 0;
  // The user's cancel alone.
  virtual bool CancelRequested() const = 0;
  // The connection flag as the last poll left it.
  virtual bool DeviceConnected() const = 0;
  virtual uint32_t AllocateTrackNumber() = 0;
  virtual HRESULT EndTransaction() = 0;

 protected:
  ~ITransferHost() = default;
};

}  // namespace device
