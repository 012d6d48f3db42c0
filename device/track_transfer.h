// One run of CIPACWrap::Transfer: the export of one MP3 file as a new track,
// step by step, with the state an abandoned run must undo (the export
// handle, whether the export started and ended). Failures and stops inside
// a step are thrown as TransferStop and turned into the run's result in one
// place, which also cancels the export and ends the transaction.
#pragma once

#include <cstdint>

#include "device/ipac.h"
#include "device/property_block.h"
#include "device/transfer_host.h"
#include "mp3/track_info.h"
#include "win32/task_memory.h"

namespace device {

class CTrackTransfer {
 public:
  CTrackTransfer(ITransferHost& host, const mp3::TrackInfo& job, uint32_t albumEid, uint32_t placement);
  HRESULT Run();
  // The new track's EID from the export block; 0 before the export started.
  uint32_t NewTrackEid() const { return m_params ? m_params->newId : 0; }

 private:
  struct TransferStop {
    HRESULT result;  // 1 for a cancel or a vanished device
  };

  void StopCheck() const;
  // The stop check of the wait after the commit: the device alone counts.
  void DeviceGoneCheck() const;
  [[noreturn]] void Fail(HRESULT result, const char* step) const;
  void Progress(uint32_t percent) const;
  // Polls the export; a failure fails the transfer.
  void ReadProgress(LONGLONG& current, LONGLONG& total);
  void BuildParameters(uint32_t trackNumber, uint32_t audioSize);
  void ReadDestination();
  void WriteData(ULONG count, const BYTE* data, bool retryOnFail, const char* step);
  void WriteAudio();
  void SetTrackProperties(const container::HeaderBlockBytes& closing);
  void WaitForDevice();
  HRESULT Abandon(HRESULT result);

  ITransferHost& m_host;
  IPAC* m_pac;
  BSTR m_device;
  const mp3::TrackInfo& m_job;
  const uint32_t m_albumEid;
  const uint32_t m_placement;

  win::TaskMemory<ExportParameters> m_params;
  PropertyBlock m_paramProperties;
  ULONG m_operation = 0;
  bool m_exportStarted = false;
  bool m_exportEnded = false;
  sys::Path m_destination;
};

}  // namespace device
