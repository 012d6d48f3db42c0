#include "stand-ins/device_access/pac_object.h"

#include <cstring>
#include <vector>

#include "platform/cost_meter.h"
#include "stand-ins/device_access/standin_results.h"
#include "stand-ins/device_access/task_memory_watch.h"
#include "stand-ins/device_access/variant_values.h"
#include "win32/task_memory.h"

namespace standin {

std::atomic<long> g_moduleReferences{0};

namespace {

std::u16string Text(const wchar_t* s) {
  return s ? std::u16string(reinterpret_cast<const char16_t*>(s)) : std::u16string();
}

std::u16string Name(BSTR b) {
  return b ? std::u16string(reinterpret_cast<const char16_t*>(b), ::SysStringLen(b)) : std::u16string();
}

std::vector<ULONG> ToUlongs(const std::vector<uint32_t>& v) { return std::vector<ULONG>(v.begin(), v.end()); }

// The values of caller-built entries; E_INVALIDARG unless each holds one.
HRESULT ReadEntries(ULONG count, const device::PropertyEntry* entries, PropertyList& out) {
  if (count && !entries) return E_POINTER;
  for (ULONG i = 0; i < count; ++i) {
    if (entries[i].count != 1 || !entries[i].values) return E_INVALIDARG;
    out.emplace_back(entries[i].id, FromVariant(entries[i].values[0]));
  }
  return S_OK;
}

}  // namespace

PacObject::PacObject(sys::Path libraryFolder) : device_(std::move(libraryFolder)) {
  g_moduleReferences.fetch_add(1);
  costs::StartFromEnvironment("player");
}

PacObject::~PacObject() {
  costs::Report();
  g_moduleReferences.fetch_sub(1);
}

HRESULT PacObject::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, device::kIidPac)) {
    *out = static_cast<device::IPAC*>(this);
  } else if (IsEqualIID(riid, kIidPlayerStandIn)) {
    *out = static_cast<IPlayerStandIn*>(this);
  } else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG PacObject::AddRef() { return references_.fetch_add(1) + 1; }

ULONG PacObject::Release() {
  const ULONG left = references_.fetch_sub(1) - 1;
  if (left == 0) delete this;
  return left;
}

template <class T>
HRESULT PacObject::handOutArray(const std::vector<T>& values, T** out) {
  *out = nullptr;
  if (values.empty()) return S_OK;
  auto block = win::TaskMemory<T>::Allocate(values.size());
  if (!block) return E_OUTOFMEMORY;
  std::memcpy(block.get(), values.data(), values.size() * sizeof(T));
  TaskMemoryWatch::Instance().handOut(block.get(), device_.diagnostics());
  *out = block.release();
  return S_OK;
}

HRESULT PacObject::Initialize(ULONG mode, LPCWSTR folder1, LPCWSTR folder2) {
  TaskMemoryWatch::Instance().install();
  std::vector<wchar_t> value(32768);
  const DWORD n =
      ::GetEnvironmentVariableW(L"PELLMARK_PLAYER", value.data(), static_cast<DWORD>(value.size()));
  const std::u16string folder = n > 0 && n < value.size() ? Text(value.data()) : std::u16string();
  (void)folder1;  // working folders of the real library; the player keeps its own
  (void)folder2;
  return device_.initialize(mode, folder);
}

HRESULT PacObject::GetDeviceList(ULONG* count, BSTR** names) {
  costs::Scope meter(costs::Area::kDeviceCalls);
  if (!count || !names) return E_POINTER;
  *count = 0;
  *names = nullptr;
  std::vector<std::u16string> list;
  if (HRESULT h = device_.getDeviceList(list); FAILED(h)) return h;
  if (list.empty()) return S_OK;
  auto block = win::TaskMemory<BSTR>::Allocate(list.size());
  if (!block) return E_OUTOFMEMORY;
  for (size_t i = 0; i < list.size(); ++i) {
    block[i] = ::SysAllocStringLen(reinterpret_cast<const wchar_t*>(list[i].data()),
                                   static_cast<UINT>(list[i].size()));
    if (!block[i]) {
      for (size_t j = 0; j < i; ++j) ::SysFreeString(block[j]);
      return E_OUTOFMEMORY;
    }
  }
  TaskMemoryWatch::Instance().handOut(block.get(), device_.diagnostics());
  *count = static_cast<ULONG>(list.size());
  *names = block.release();
  return S_OK;
}

HRESULT PacObject::IsDeviceConnected(BSTR device, ULONG* connected) {
  costs::Scope meter(costs::Area::kDeviceCalls);
  if (!connected) return E_POINTER;
  uint32_t flag = 0;
  HRESULT h = device_.isDeviceConnected(Name(device), flag);
  *connected = flag;
  return h;
}

HRESULT PacObject::GetMediumCapacity(LONGLONG* third, LONGLONG* freeBytes, LONGLONG* capacity) {
  costs::Scope meter(costs::Area::kDeviceCalls);
  if (!third || !freeBytes || !capacity) return E_POINTER;
  int64_t t = 0, f = 0, c = 0;
  HRESULT h = device_.getMediumCapacity(t, f, c);
  *third = t;
  *freeBytes = f;
  *capacity = c;
  return h;
}

HRESULT PacObject::StartTransaction(BSTR device) {
  costs::Scope meter(costs::Area::kDeviceCalls);
  return device_.startTransaction(Name(device));
}

HRESULT PacObject::EndTransaction(BSTR device) {
  costs::Scope meter(costs::Area::kDeviceCalls);
  return device_.endTransaction(Name(device));
}

HRESULT PacObject::StartExportOperation(BSTR device, device::ExportParameters* params, ULONG* operation) {
  costs::Scope meter(costs::Area::kDeviceCalls);
  if (!params || !operation) return E_POINTER;
  *operation = 0;
  PropertyList properties;
  if (HRESULT h = ReadEntries(params->propertyCount, params->properties, properties); FAILED(h)) return h;
  uint32_t id = 0, op = 0;
  HRESULT h = device_.startExport(Name(device), params->parent, params->placement, params->totalBytes,
                                  properties, id, op);
  if (SUCCEEDED(h)) {
    params->newId = id;
    *operation = op;
  }
  return h;
}

HRESULT PacObject::WriteExportData(BSTR device, ULONG operation, ULONG count, const BYTE* data) {
  costs::Scope meter(costs::Area::kChunkWrites);
  return device_.writeExport(Name(device), operation, data, count);
}

HRESULT PacObject::EndExportOperation(BSTR device, ULONG operation) {
  costs::Scope meter(costs::Area::kDeviceCalls);
  return device_.endExport(Name(device), operation);
}

HRESULT PacObject::ResolveObject(BSTR device, ULONG id, ULONG* token) {
  costs::Scope meter(costs::Area::kDeviceCalls);
  if (!token) return E_POINTER;
  uint32_t t = 0;
  HRESULT h = device_.resolveObject(Name(device), id, t);
  *token = t;
  return h;
}

HRESULT PacObject::RemoveObject(BSTR device, ULONG token) {
  costs::Scope meter(costs::Area::kDeviceCalls);
  return device_.removeObject(Name(device), token);
}

HRESULT PacObject::GetCurrentOperation(BSTR device, ULONG* operation) {
  costs::Scope meter(costs::Area::kDeviceCalls);
  if (!operation) return E_POINTER;
  uint32_t op = 0;
  HRESULT h = device_.getCurrentOperation(Name(device), op);
  *operation = op;
  return h;
}

HRESULT PacObject::CancelOperation(BSTR device, ULONG operation) {
  costs::Scope meter(costs::Area::kDeviceCalls);
  return device_.cancelOperation(Name(device), operation);
}

HRESULT PacObject::GetOperationProgress(BSTR device, ULONG operation, LONGLONG* current, LONGLONG* total) {
  costs::Scope meter(costs::Area::kDeviceCalls);
  if (!current || !total) return E_POINTER;
  int64_t c = 0, t = 0;
  HRESULT h = device_.getOperationProgress(Name(device), operation, c, t);
  *current = c;
  *total = t;
  return h;
}

HRESULT PacObject::EnumMediumIds(BSTR device, ULONG* count, ULONG** kinds, ULONG** second) {
  costs::Scope meter(costs::Area::kDeviceCalls);
  if (!count || !kinds || !second) return E_POINTER;
  *count = 0;
  *kinds = *second = nullptr;
  std::vector<uint32_t> k, s;
  if (HRESULT h = device_.enumMediumIds(Name(device), k, s); FAILED(h)) return h;
  if (HRESULT h = handOutArray(ToUlongs(k), kinds); FAILED(h)) return h;
  if (HRESULT h = handOutArray(ToUlongs(s), second); FAILED(h)) {
    ::CoTaskMemFree(*kinds);
    *kinds = nullptr;
    return h;
  }
  *count = static_cast<ULONG>(k.size());
  return S_OK;
}

HRESULT PacObject::GetRootFolder(BSTR device, ULONG kind, ULONG* root) {
  costs::Scope meter(costs::Area::kDeviceCalls);
  if (!root) return E_POINTER;
  uint32_t r = 0;
  HRESULT h = device_.getRootFolder(Name(device), kind, r);
  *root = r;
  return h;
}

HRESULT PacObject::GetChildCount(BSTR device, ULONG parent, ULONG* count) {
  costs::Scope meter(costs::Area::kDeviceCalls);
  if (!count) return E_POINTER;
  uint32_t n = 0;
  HRESULT h = device_.getChildCount(Name(device), parent, n);
  *count = n;
  return h;
}

HRESULT PacObject::GetChildIds(BSTR device, ULONG parent, ULONG count, const ULONG* positions, ULONG** ids) {
  costs::Scope meter(costs::Area::kDeviceCalls);
  if (!ids || (count && !positions)) return E_POINTER;
  *ids = nullptr;
  std::vector<uint32_t> p(positions, positions + count), found;
  if (HRESULT h = device_.getChildIds(Name(device), parent, p, found); FAILED(h)) return h;
  return handOutArray(ToUlongs(found), ids);
}

HRESULT PacObject::GetProperties(BSTR device, ULONG id, ULONG count, const ULONG* propertyIds,
                                 device::PropertyEntry** block) {
  costs::Scope meter(costs::Area::kDeviceCalls);
  if (!block || (count && !propertyIds)) return E_POINTER;
  *block = nullptr;
  std::vector<PropertyValue> values;
  std::vector<uint32_t> asked(propertyIds, propertyIds + count);
  if (HRESULT h = device_.getProperties(Name(device), id, asked, values); FAILED(h)) return h;
  if (count == 0) return S_OK;
  auto entries = win::TaskMemory<device::PropertyEntry>::Allocate(count);
  if (!entries) return E_OUTOFMEMORY;
  // Built whole before anything is handed out, so a failure frees all.
  auto freeBuilt = [&](ULONG built) {
    for (ULONG j = 0; j < built; ++j) {
      ::VariantClear(&entries[j].values[0]);
      ::CoTaskMemFree(entries[j].values);
    }
  };
  for (ULONG i = 0; i < count; ++i) {
    auto value = win::TaskMemory<VARIANT>::Allocate(1);
    if (!value || FAILED(ToVariant(values[i], value[0]))) {
      freeBuilt(i);
      return E_OUTOFMEMORY;
    }
    entries[i].id = propertyIds[i];
    entries[i].reserved = 0;
    entries[i].count = 1;
    entries[i].values = value.release();
  }
  TaskMemoryWatch& watch = TaskMemoryWatch::Instance();
  for (ULONG i = 0; i < count; ++i) watch.handOut(entries[i].values, device_.diagnostics());
  watch.handOut(entries.get(), device_.diagnostics());
  *block = entries.release();
  return S_OK;
}

HRESULT PacObject::SetProperties(BSTR device, ULONG id, ULONG count, const device::PropertyEntry* block) {
  costs::Scope meter(costs::Area::kDeviceCalls);
  PropertyList properties;
  if (HRESULT h = ReadEntries(count, block, properties); FAILED(h)) return h;
  return device_.setProperties(Name(device), id, properties);
}

HRESULT PacObject::CreateObject(BSTR device, ULONG kind, ULONG parent, ULONG objectKind, ULONG* id) {
  costs::Scope meter(costs::Area::kDeviceCalls);
  if (!id) return E_POINTER;
  uint32_t n = 0;
  HRESULT h = device_.createObject(Name(device), kind, parent, objectKind, n);
  *id = n;
  return h;
}

HRESULT PacObject::MoveObjects(BSTR device, ULONG reference, ULONG placement, ULONG count, const ULONG* ids,
                               HRESULT** results) {
  costs::Scope meter(costs::Area::kDeviceCalls);
  if (!results || (count && !ids)) return E_POINTER;
  *results = nullptr;
  std::vector<uint32_t> items(ids, ids + count);
  std::vector<HRESULT> r;
  HRESULT h = device_.moveObjects(Name(device), reference, placement, items, r);
  if (FAILED(h) && r.empty()) return h;
  if (HRESULT a = handOutArray(r, results); FAILED(a)) return a;
  return h;
}

HRESULT PacObject::DeleteFolders(BSTR device, ULONG count, const ULONG* ids, HRESULT** results) {
  costs::Scope meter(costs::Area::kDeviceCalls);
  if (!results || (count && !ids)) return E_POINTER;
  *results = nullptr;
  std::vector<uint32_t> items(ids, ids + count);
  std::vector<HRESULT> r;
  HRESULT h = device_.deleteFolders(Name(device), items, r);
  if (FAILED(h) && r.empty()) return h;
  if (HRESULT a = handOutArray(r, results); FAILED(a)) return a;
  return h;
}

HRESULT PacObject::GetState(StandInState* state) {
  if (!state) return E_POINTER;
  const PlayerState s = device_.state();
  ZeroMemory(state, sizeof *state);
  state->initialized = s.initialized;
  state->disconnected = s.disconnected;
  state->transactionOpen = s.transactionOpen;
  state->exportOpen = s.exportOpen;
  state->transactionsStarted = s.transactionsStarted;
  state->callerErrors = s.callerErrors;
  state->injectedFaults = s.injectedFaults;
  state->outstandingBlocks = s.outstandingBlocks;
  state->lastExportTotal = s.lastExportTotal;
  const std::wstring folder = device_.folder().wstring();
  wcsncpy(state->folder, folder.c_str(), MAX_PATH - 1);
  return S_OK;
}

}  // namespace standin
