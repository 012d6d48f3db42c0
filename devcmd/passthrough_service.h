// The maker's pass-through service as COM reaches it: its class, its
// interface, and the methods this library calls. Shared with the test
// stand-in that plays the service.
#pragma once

#include <unknwn.h>
#include <windows.h>

namespace devcmd {

// {04F75E88-19F2-4687-B62D-756956F918FE}
inline constexpr CLSID kClsidPassThroughService = {
    0x04F75E88, 0x19F2, 0x4687, {0xB6, 0x2D, 0x75, 0x69, 0x56, 0xF9, 0x18, 0xFE}};
// {1230CAE5-32C9-49BB-AC53-D7067FEC16A6}
inline constexpr IID kIidPassThroughService = {
    0x1230CAE5, 0x32C9, 0x49BB, {0xAC, 0x53, 0xD7, 0x06, 0x7F, 0xEC, 0x16, 0xA6}};

// In-process server, in-process handler or local server: whichever the
// installed service provides.
constexpr DWORD kServiceClassContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;
static_assert(kServiceClassContext == 7);

// Every method takes the drive index (0 = A:) and fills a 3-byte status
// area with the sense key, ASC and ASCQ of the command. The positions in
// the table of methods are fixed by the service; the four it has between
// SendOut and Inquiry are not used here.
struct IPassThroughService : public IUnknown {
  // Slot 3.
  virtual HRESULT STDMETHODCALLTYPE SendNoData(short drive, ULONG cdbLength, const BYTE* cdb,
                                               BYTE* status) = 0;
  // Slot 4.
  virtual HRESULT STDMETHODCALLTYPE SendIn(short drive, ULONG cdbLength, const BYTE* cdb, ULONG dataLength,
                                           BYTE* data, BYTE* status) = 0;
  // Slot 5.
  virtual HRESULT STDMETHODCALLTYPE SendOut(short drive, ULONG cdbLength, const BYTE* cdb, ULONG dataLength,
                                            BYTE* data, BYTE* status) = 0;
  // Slots 6 to 9.
  virtual HRESULT STDMETHODCALLTYPE Reserved6() = 0;
  virtual HRESULT STDMETHODCALLTYPE Reserved7() = 0;
  virtual HRESULT STDMETHODCALLTYPE Reserved8() = 0;
  virtual HRESULT STDMETHODCALLTYPE Reserved9() = 0;
  // Slot 10: a standard INQUIRY for length bytes.
  virtual HRESULT STDMETHODCALLTYPE Inquiry(short drive, ULONG length, BYTE* buffer, BYTE* status) = 0;
};

// Slot numbers, for code that checks the table itself.
constexpr int kSlotSendNoData = 3;
constexpr int kSlotSendIn = 4;
constexpr int kSlotSendOut = 5;
constexpr int kSlotInquiry = 10;

}  // namespace devcmd
