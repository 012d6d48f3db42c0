// IPAC: the one interface of the device-access library OrlenPACAPI.dll, as
// the device wrapper calls it and the simulated player implements it. The
// operations sit at fixed vtable positions (0-2 are IUnknown's); positions
// this program never calls are declared as Unused<n> only to keep the
// numbering exact. From StartTransaction on, the device name from
// GetDeviceList comes first. Arrays the library returns are COM task memory
// that the caller frees.
#pragma once

#include <oaidl.h>
#include <objbase.h>
#include <windows.h>

#include <cstddef>

#include "device/property_ids.h"

namespace device {

// {28938272-B0CC-4F7A-93DE-88DEAD28BB38}
inline constexpr CLSID kClsidPac = {
    0x28938272, 0xB0CC, 0x4F7A, {0x93, 0xDE, 0x88, 0xDE, 0xAD, 0x28, 0xBB, 0x38}};
// {5D6ACC7C-553C-4600-8237-D49F6476E6F6}
inline constexpr IID kIidPac = {0x5D6ACC7C, 0x553C, 0x4600, {0x82, 0x37, 0xD4, 0x9F, 0x64, 0x76, 0xE6, 0xF6}};

// One entry of a property block: a property and its values (always one
// here). Blocks from GetProperties are task memory: the block, each value
// array and each value; the receiver clears every VARIANT, frees each value
// array and then the block.
struct PropertyEntry {
  ULONG id;
  ULONG reserved;  // always 0
  ULONG count;
  VARIANT* values;
};

// Parameters of StartExportOperation; the library writes newId.
struct ExportParameters {
  ULONG parent;          // the album
  ULONG placement;       // kPlaceInto, or kPlaceAfter
  ULONGLONG totalBytes;  // audio + both header blocks
  ULONG newId;           // out: the new track
  ULONG propertyCount;   // 2: track number and kPropTrackFlags
  PropertyEntry* properties;
};
static_assert(offsetof(ExportParameters, totalBytes) == 8);
static_assert(offsetof(ExportParameters, newId) == 16);
static_assert(offsetof(ExportParameters, propertyCount) == 20);
static_assert(offsetof(ExportParameters, properties) == 24);
static_assert(sizeof(ExportParameters) == 32);
#if !defined(_WIN64)
static_assert(sizeof(PropertyEntry) == 16);
#endif

#define PM_IPAC_UNUSED(n) \
  virtual HRESULT STDMETHODCALLTYPE Unused##n() { return E_NOTIMPL; }

struct IPAC : public IUnknown {
  // [3] mode kInitializeMode and two working folders; 0 = usable.
  virtual HRESULT STDMETHODCALLTYPE Initialize(ULONG mode, LPCWSTR folder1, LPCWSTR folder2) = 0;
  PM_IPAC_UNUSED(4)
  PM_IPAC_UNUSED(5)
  // [6] names: task-memory array of count BSTRs; the first is the player.
  virtual HRESULT STDMETHODCALLTYPE GetDeviceList(ULONG* count, BSTR** names) = 0;
  // [7] connected: non-zero while the player is attached.
  virtual HRESULT STDMETHODCALLTYPE IsDeviceConnected(BSTR device, ULONG* connected) = 0;
  PM_IPAC_UNUSED(8)
  PM_IPAC_UNUSED(9)
  PM_IPAC_UNUSED(10)
  PM_IPAC_UNUSED(11)
  PM_IPAC_UNUSED(12)
  PM_IPAC_UNUSED(13)
  PM_IPAC_UNUSED(14)
  PM_IPAC_UNUSED(15)
  PM_IPAC_UNUSED(16)
  PM_IPAC_UNUSED(17)
  PM_IPAC_UNUSED(18)
  PM_IPAC_UNUSED(19)
  PM_IPAC_UNUSED(20)
  PM_IPAC_UNUSED(21)
  PM_IPAC_UNUSED(22)
  PM_IPAC_UNUSED(23)
  PM_IPAC_UNUSED(24)
  PM_IPAC_UNUSED(25)
  PM_IPAC_UNUSED(26)
  PM_IPAC_UNUSED(27)
  PM_IPAC_UNUSED(28)
  PM_IPAC_UNUSED(29)
  PM_IPAC_UNUSED(30)
  PM_IPAC_UNUSED(31)
  PM_IPAC_UNUSED(32)
  PM_IPAC_UNUSED(33)
  PM_IPAC_UNUSED(34)
  PM_IPAC_UNUSED(35)
  PM_IPAC_UNUSED(36)
  PM_IPAC_UNUSED(37)
  PM_IPAC_UNUSED(38)
  PM_IPAC_UNUSED(39)
  PM_IPAC_UNUSED(40)
  PM_IPAC_UNUSED(41)
  PM_IPAC_UNUSED(42)
  PM_IPAC_UNUSED(43)
  PM_IPAC_UNUSED(44)
  PM_IPAC_UNUSED(45)
  PM_IPAC_UNUSED(46)
  PM_IPAC_UNUSED(47)
  // [48] byte counts; the caller reads free and capacity.
  virtual HRESULT STDMETHODCALLTYPE GetMediumCapacity(LONGLONG* third, LONGLONG* free,
                                                      LONGLONG* capacity) = 0;
  PM_IPAC_UNUSED(49)
  PM_IPAC_UNUSED(50)
  PM_IPAC_UNUSED(51)
  PM_IPAC_UNUSED(52)
  PM_IPAC_UNUSED(53)
  PM_IPAC_UNUSED(54)
  PM_IPAC_UNUSED(55)
  PM_IPAC_UNUSED(56)
  PM_IPAC_UNUSED(57)
  PM_IPAC_UNUSED(58)
  PM_IPAC_UNUSED(59)
  // [60], [61] bracket every group of calls.
  virtual HRESULT STDMETHODCALLTYPE StartTransaction(BSTR device) = 0;
  virtual HRESULT STDMETHODCALLTYPE EndTransaction(BSTR device) = 0;
  PM_IPAC_UNUSED(62)
  // [63] params->newId receives the new track.
  virtual HRESULT STDMETHODCALLTYPE StartExportOperation(BSTR device, ExportParameters* params,
                                                         ULONG* operation) = 0;
  // [64] 0 = written.
  virtual HRESULT STDMETHODCALLTYPE WriteExportData(BSTR device, ULONG operation, ULONG count,
                                                    const BYTE* data) = 0;
  // [65] commits the track.
  virtual HRESULT STDMETHODCALLTYPE EndExportOperation(BSTR device, ULONG operation) = 0;
  PM_IPAC_UNUSED(66)
  PM_IPAC_UNUSED(67)
  PM_IPAC_UNUSED(68)
  // [69] token for RemoveObject.
  virtual HRESULT STDMETHODCALLTYPE ResolveObject(BSTR device, ULONG id, ULONG* token) = 0;
  // [70] the removal becomes the current operation.
  virtual HRESULT STDMETHODCALLTYPE RemoveObject(BSTR device, ULONG token) = 0;
  PM_IPAC_UNUSED(71)
  PM_IPAC_UNUSED(72)
  PM_IPAC_UNUSED(73)
  // [74]
  virtual HRESULT STDMETHODCALLTYPE GetCurrentOperation(BSTR device, ULONG* operation) = 0;
  PM_IPAC_UNUSED(75)
  PM_IPAC_UNUSED(76)
  PM_IPAC_UNUSED(77)
  // [78] abandons an export.
  virtual HRESULT STDMETHODCALLTYPE CancelOperation(BSTR device, ULONG operation) = 0;
  // [79] finished when current reaches total.
  virtual HRESULT STDMETHODCALLTYPE GetOperationProgress(BSTR device, ULONG operation, LONGLONG* current,
                                                         LONGLONG* total) = 0;
  // [80] kinds and second: task-memory arrays of count values; kind
  // kUsableMediumKind is a medium the player can use.
  virtual HRESULT STDMETHODCALLTYPE EnumMediumIds(BSTR device, ULONG* count, ULONG** kinds,
                                                  ULONG** second) = 0;
  PM_IPAC_UNUSED(81)
  PM_IPAC_UNUSED(82)
  PM_IPAC_UNUSED(83)
  // [84] kind kRootFolderKind: the parent of all albums.
  virtual HRESULT STDMETHODCALLTYPE GetRootFolder(BSTR device, ULONG kind, ULONG* root) = 0;
  PM_IPAC_UNUSED(85)
  // [86]
  virtual HRESULT STDMETHODCALLTYPE GetChildCount(BSTR device, ULONG parent, ULONG* count) = 0;
  PM_IPAC_UNUSED(87)
  // [88] positions 1..count; ids: task-memory array in display order.
  virtual HRESULT STDMETHODCALLTYPE GetChildIds(BSTR device, ULONG parent, ULONG count,
                                                const ULONG* positions, ULONG** ids) = 0;
  PM_IPAC_UNUSED(89)
  PM_IPAC_UNUSED(90)
  PM_IPAC_UNUSED(91)
  PM_IPAC_UNUSED(92)
  PM_IPAC_UNUSED(93)
  // [94] block: task memory, one entry per asked id.
  virtual HRESULT STDMETHODCALLTYPE GetProperties(BSTR device, ULONG id, ULONG count,
                                                  const ULONG* propertyIds, PropertyEntry** block) = 0;
  // [95] the block stays the caller's.
  virtual HRESULT STDMETHODCALLTYPE SetProperties(BSTR device, ULONG id, ULONG count,
                                                  const PropertyEntry* block) = 0;
  // [96] kind and objectKind kCreateFolderKind: a new album under parent.
  virtual HRESULT STDMETHODCALLTYPE CreateObject(BSTR device, ULONG kind, ULONG parent, ULONG objectKind,
                                                 ULONG* id) = 0;
  PM_IPAC_UNUSED(97)
  // [98] results: task-memory array, 0 per moved item.
  virtual HRESULT STDMETHODCALLTYPE MoveObjects(BSTR device, ULONG reference, ULONG placement, ULONG count,
                                                const ULONG* ids, HRESULT** results) = 0;
  // [99] results: task-memory array; the removal becomes the current operation.
  virtual HRESULT STDMETHODCALLTYPE DeleteFolders(BSTR device, ULONG count, const ULONG* ids,
                                                  HRESULT** results) = 0;
};

#undef PM_IPAC_UNUSED

}  // namespace device
