#include "device/track_transfer.h"

#include "common/debug_log.h"
#include "device/fringe_data.h"
#include "device/ipac_wrap.h"

namespace device {

namespace {
constexpr uint32_t kProgressHeaderWritten = 10;
constexpr uint32_t kProgressAudioSpan = 60;
constexpr uint32_t kProgressAudioWritten = 70;
constexpr uint32_t kProgressClosed = 80;
constexpr uint32_t kProgressCommitted = 100;
constexpr DWORD kDevicePollMs = 50;
}  // namespace

HRESULT CIPACWrap::Transfer(const mp3::TrackInfo& job, uint32_t albumEid, uint32_t placement,
                            uint32_t* newTrackEid) {
  if (newTrackEid) *newTrackEid = 0;
  if (!m_binding.pac) return E_UNEXPECTED;
  CTrackTransfer run(static_cast<ITransferHost&>(*this), job, albumEid, placement);
  const HRESULT result = run.Run();
  if (newTrackEid && result == S_OK) *newTrackEid = run.NewTrackEid();
  return result;
}

CTrackTransfer::CTrackTransfer(ITransferHost& host, const mp3::TrackInfo& job, uint32_t albumEid,
                               uint32_t placement)
    : m_host(host),
      m_pac(&host.TransferLibrary()),
      m_device(host.TransferDevice()),
      m_job(job),
      m_albumEid(albumEid),
      m_placement(placement) {}

void CTrackTransfer::StopCheck() const {
  if (m_host.StopRequested()) throw TransferStop{S_FALSE};
}

void CTrackTransfer::Fail(HRESULT result, const char* step) const {
  DebugLog("\nCIPACWrap::Transfer: %s failed (0x%08lX)", step, static_cast<unsigned long>(result));
  throw TransferStop{result};
}

void CTrackTransfer::Progress(uint32_t percent) const {
  m_host.TransferEvents().RunningState(m_job.number, percent);
}

void CTrackTransfer::ReadProgress(LONGLONG& current, LONGLONG& total) {
  const HRESULT h = m_pac->GetOperationProgress(m_device, m_operation, &current, &total);
  if (FAILED(h)) Fail(h, "GetOperationProgress");
}

void CTrackTransfer::BuildParameters(uint32_t trackNumber, uint32_t audioSize) {
  m_params = win::TaskMemory<ExportParameters>::Allocate(1);
  if (!m_params) Fail(E_OUTOFMEMORY, "CoTaskMemAlloc(32)");
  HRESULT h = m_paramProperties.allocate(2);
  if (SUCCEEDED(h)) h = m_paramProperties.setUnsigned(0, kPropTrackNumber, trackNumber);
  if (SUCCEEDED(h)) h = m_paramProperties.setUnsigned(1, kPropTrackFlags, kNewTrackFlags);
  if (FAILED(h)) Fail(h, "building the export parameters");
  m_params->parent = m_albumEid;
  m_params->placement = m_placement;
  m_params->totalBytes = static_cast<ULONGLONG>(audioSize) + 2ull * kHeaderBlockLength;
  m_params->newId = 0;
  m_params->propertyCount = 2;
  m_params->properties = m_paramProperties.get();
}

void CTrackTransfer::ReadDestination() {
  const ULONG ids[] = {kPropFilePath};
  PropertyBlock block;
  const HRESULT h = m_pac->GetProperties(m_device, m_params->newId, 1, ids, block.put(1));
  if (FAILED(h)) Fail(h, "GetProperties(destination)");
  const std::u16string path = TextOf(block.value(0));
  if (path.empty()) Fail(E_UNEXPECTED, "GetProperties(destination)");
  m_destination = sys::Path(path);
  DebugLog("\nCIPACWrap::Transfer dest path is %s", sys::AnsiFromPath(m_destination).c_str());
}

void CTrackTransfer::WriteData(ULONG count, const BYTE* data, bool retryOnFail, const char* step) {
  HRESULT h = m_pac->WriteExportData(m_device, m_operation, count, data);
  // A chunk write that fails plainly is tried once more: the library may
  // have been busy. Any other failure, or a second one, is final.
  if (h == E_FAIL && retryOnFail) h = m_pac->WriteExportData(m_device, m_operation, count, data);
  if (FAILED(h)) Fail(h, step);
}

void CTrackTransfer::WriteAudio() {
  CRv3Broker& broker = m_host.TransferBroker();
  for (;;) {
    StopCheck();
    AudioChunk chunk;
    const HRESULT next = broker.NextChunk(chunk);
    if (chunk.size == 0) {
      if (next != S_OK) Fail(next, "NextChunk");
      return;
    }
    // Two notes per chunk rather than four: each note is a write of the
    // shared log, and the marker before the write still shows a hang.
    DebugLog("\nCheck m_bIsConnected=%d\n1", static_cast<int>(m_host.DeviceConnected()));
    StopCheck();
    WriteData(chunk.size, chunk.bytes, true, "WriteExportData(chunk)");
    LONGLONG current = 0, total = 0;
    ReadProgress(current, total);
    DebugLog("\n2\ndwOutSize=%d, hyCurSize = %lld, hyTotalSize = %lld\r\n", static_cast<int>(chunk.size),
             static_cast<long long>(current), static_cast<long long>(total));
    // A zero total tells nothing about the share written.
    LONGLONG share = total > 0 ? current * static_cast<LONGLONG>(kProgressAudioSpan) / total : 0;
    if (share < 0) share = 0;
    if (share > kProgressAudioSpan) share = kProgressAudioSpan;
    Progress(kProgressHeaderWritten + static_cast<uint32_t>(share));
  }
}

void CTrackTransfer::SetTrackProperties(const container::HeaderBlockBytes& closing) {
  StopCheck();
  PropertyBlock block;
  HRESULT h = block.allocate(6);
  if (SUCCEEDED(h)) h = block.setText(0, kPropName, m_job.wideTitle);
  if (SUCCEEDED(h)) h = block.setText(1, kPropArtist, m_job.wideArtist);
  if (SUCCEEDED(h)) h = block.setText(2, kPropAlbumText, m_job.wideAlbum);
  if (SUCCEEDED(h)) h = block.setText(3, kPropGenre, m_job.wideGenre);
  if (SUCCEEDED(h)) h = block.setPlayTime(4, kPropPlayTime, m_job.durationMs);
  if (SUCCEEDED(h)) h = block.setBytes(5, kPropHeaderBytes, closing.data() + 8, kHeaderPropertyBytes);
  if (SUCCEEDED(h)) h = m_pac->SetProperties(m_device, m_params->newId, 6, block.get());
  // The texts are in the track's tag already; a track without them in the
  // library's properties still plays, so the transfer goes on.
  if (FAILED(h)) DebugLog("\nSetTrackProperties failed (0x%08lX)", static_cast<unsigned long>(h));
}

void CTrackTransfer::DeviceGoneCheck() const {
  if (!m_host.DeviceConnected()) throw TransferStop{S_FALSE};
}

void CTrackTransfer::WaitForDevice() {
  // The export has ended: the track is the player's. Only a vanished device
  // ends the wait with 1; a cancel ends the wait too, but the track stays
  // and is reported as stored, so that the list shows it.
  DeviceGoneCheck();
  const HRESULT h = m_pac->GetCurrentOperation(m_device, &m_operation);
  if (FAILED(h)) Fail(h, "GetCurrentOperation");
  LONGLONG current = 0, total = 0;
  ReadProgress(current, total);
  while (current < total) {
    DeviceGoneCheck();
    if (m_host.CancelRequested()) {
      DebugLog("\nCIPACWrap::Transfer: cancelled after the track was committed; it stays");
      return;
    }
    ReadProgress(current, total);
    if (current >= total) break;
    ::Sleep(kDevicePollMs);
  }
}

HRESULT CTrackTransfer::Abandon(HRESULT result) {
  DebugLog("\nCIPACWrap::Transfer exception");
  // The user's file is let go now, not when the next transfer starts.
  m_host.TransferBroker().Reset();
  // A vanished device answers nothing: the export and the transaction die
  // with it.
  if (m_host.DeviceConnected()) {
    if (m_exportStarted && !m_exportEnded) m_pac->CancelOperation(m_device, m_operation);
    m_host.EndTransaction();
  }
  return result;
}

HRESULT CTrackTransfer::Run() {
  // Whatever the way out, Cancel applies to the drop again afterwards.
  struct EndNotice {
    IWrapEvents* events;
    ~EndNotice() { events->TransferEnded(); }
  } endNotice{&m_host.TransferEvents()};
  try {
    CRv3Broker& broker = m_host.TransferBroker();
    const uint32_t trackNumber = m_host.AllocateTrackNumber();
    DebugLog("\nCIPACWrap::Transfer '%s'", sys::AnsiFromPath(m_job.sourcePath).c_str());

    uint32_t audioSize = 0, headerLength = 0;
    container::HeaderBlockBytes opening{};
    const HRESULT init = broker.Init(m_job.sourcePath, &audioSize, &opening, &headerLength);
    DebugLog("\nCIPACWrap::Transfer after RV3 broker init");
    // A source without usable audio fails here, before the device is
    // asked for anything.
    if (FAILED(init)) Fail(init, "RV3 broker init");

    BuildParameters(trackNumber, audioSize);
    if (m_host.CancelRequested()) throw TransferStop{S_FALSE};

    HRESULT h = m_pac->StartExportOperation(m_device, m_params.get(), &m_operation);
    DebugLog("\nCIPACWrap::Transfer after StartExportOperation");
    if (h != S_OK) {
      DebugLog("\nStartExportOperation failed (0x%08lX)", static_cast<unsigned long>(h));
      throw TransferStop{E_FAIL};
    }
    m_exportStarted = true;

    ReadDestination();
    StopCheck();
    h = WriteFringeData(m_destination, m_job, [this] { return m_host.StopRequested(); });
    if (h == S_FALSE) throw TransferStop{S_FALSE};
    if (FAILED(h)) Fail(h, "WriteFringeData");
    DeviceGoneCheck();

    // The opening block must arrive, or the stream falls short of the
    // announced total and the export can never complete.
    WriteData(headerLength, opening.data(), false, "WriteExportData(opening header)");
    DebugLog("\nHeader is written.");
    LONGLONG current = 0, total = 0;
    ReadProgress(current, total);
    Progress(kProgressHeaderWritten);
    DebugLog("\nstart to write data trunc.");

    WriteAudio();

    Progress(kProgressAudioWritten);
    StopCheck();
    container::HeaderBlockBytes closing{};
    if (h = broker.CloseHeader(&closing, &headerLength); FAILED(h)) Fail(h, "CloseHeader");
    StopCheck();
    WriteData(headerLength, closing.data(), false, "WriteExportData(closing header)");
    ReadProgress(current, total);
    Progress(kProgressClosed);

    StopCheck();
    m_host.TransferEvents().TransferPastCancel();
    SetTrackProperties(closing);

    if (h = m_pac->EndExportOperation(m_device, m_operation); FAILED(h)) Fail(h, "EndExportOperation");
    m_exportEnded = true;
    Progress(kProgressCommitted);

    WaitForDevice();
    DebugLog("\nCIPACWrap::Transfer end");
    // Stored: a success code of the last poll other than 0 (S_FALSE among
    // them) must not read as a cancel.
    return S_OK;
  } catch (const TransferStop& stop) {
    return Abandon(stop.result);
  } catch (...) {
    return Abandon(E_FAIL);
  }
}

}  // namespace device
