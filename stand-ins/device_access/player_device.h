// The simulated player behind the device-access library, without COM: every
// library operation with plain types. It keeps one player in a folder
// (PlayerStore), runs one export at a time (TrackAssembly), serialises its
// callers by transactions, checks that they keep the library's rules, and
// injects the faults its settings ask for. Thread-safe; a transaction
// belongs to the thread that started it, and another thread's
// StartTransaction waits until it ends.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "common/hresult.h"
#include "platform/system.h"
#include "stand-ins/device_access/player_diagnostics.h"
#include "stand-ins/device_access/player_settings.h"
#include "stand-ins/device_access/player_store.h"
#include "stand-ins/device_access/property_value.h"
#include "stand-ins/device_access/track_assembly.h"

namespace standin {

enum class Op : uint8_t {
  kInitialize,
  kGetDeviceList,
  kIsDeviceConnected,
  kGetMediumCapacity,
  kStartTransaction,
  kEndTransaction,
  kStartExportOperation,
  kWriteExportData,
  kEndExportOperation,
  kResolveObject,
  kRemoveObject,
  kGetCurrentOperation,
  kCancelOperation,
  kGetOperationProgress,
  kEnumMediumIds,
  kGetRootFolder,
  kGetChildCount,
  kGetChildIds,
  kGetProperties,
  kSetProperties,
  kCreateObject,
  kMoveObjects,
  kDeleteFolders,
  kCount
};
// The operation's name as settings and the log spell it ("WriteExportData").
const char* OpName(Op op);

// A snapshot for tests.
struct PlayerState {
  bool initialized = false;
  bool disconnected = false;
  bool transactionOpen = false;
  bool exportOpen = false;
  uint32_t transactionsStarted = 0;
  uint32_t callerErrors = 0;
  uint32_t injectedFaults = 0;
  int32_t outstandingBlocks = 0;
  uint64_t lastExportTotal = 0;  // bytes the latest export announced
};

class PlayerDevice {
 public:
  // How long StartTransaction waits for another thread's transaction.
  static constexpr int kTransactionWaitMs = 30000;
  static constexpr uint32_t kFirstToken = 0x7000;

  explicit PlayerDevice(sys::Path libraryFolder);
  ~PlayerDevice();  // an export still open is discarded
  PlayerDevice(const PlayerDevice&) = delete;
  PlayerDevice& operator=(const PlayerDevice&) = delete;

  // environmentFolder: the value of PELLMARK_PLAYER (empty when unset).
  HRESULT initialize(uint32_t mode, const std::u16string& environmentFolder);
  HRESULT getDeviceList(std::vector<std::u16string>& names);
  HRESULT isDeviceConnected(const std::u16string& device, uint32_t& connected);
  HRESULT getMediumCapacity(int64_t& third, int64_t& freeBytes, int64_t& capacity);
  HRESULT startTransaction(const std::u16string& device);
  HRESULT endTransaction(const std::u16string& device);
  HRESULT startExport(const std::u16string& device, uint32_t parent, uint32_t placement, uint64_t total,
                      const PropertyList& properties, uint32_t& newId, uint32_t& operation);
  HRESULT writeExport(const std::u16string& device, uint32_t operation, const uint8_t* data, size_t count);
  HRESULT endExport(const std::u16string& device, uint32_t operation);
  HRESULT resolveObject(const std::u16string& device, uint32_t id, uint32_t& token);
  HRESULT removeObject(const std::u16string& device, uint32_t token);
  HRESULT getCurrentOperation(const std::u16string& device, uint32_t& operation);
  HRESULT cancelOperation(const std::u16string& device, uint32_t operation);
  HRESULT getOperationProgress(const std::u16string& device, uint32_t operation, int64_t& current,
                               int64_t& total);
  HRESULT enumMediumIds(const std::u16string& device, std::vector<uint32_t>& kinds,
                        std::vector<uint32_t>& second);
  HRESULT getRootFolder(const std::u16string& device, uint32_t kind, uint32_t& root);
  HRESULT getChildCount(const std::u16string& device, uint32_t parent, uint32_t& count);
  HRESULT getChildIds(const std::u16string& device, uint32_t parent, const std::vector<uint32_t>& positions,
                      std::vector<uint32_t>& ids);
  // values: one per asked id; an id the object does not have is empty.
  HRESULT getProperties(const std::u16string& device, uint32_t id, const std::vector<uint32_t>& propertyIds,
                        std::vector<PropertyValue>& values);
  HRESULT setProperties(const std::u16string& device, uint32_t id, const PropertyList& properties);
  HRESULT createObject(const std::u16string& device, uint32_t kind, uint32_t parent, uint32_t objectKind,
                       uint32_t& id);
  HRESULT moveObjects(const std::u16string& device, uint32_t reference, uint32_t placement,
                      const std::vector<uint32_t>& ids, std::vector<HRESULT>& results);
  HRESULT deleteFolders(const std::u16string& device, const std::vector<uint32_t>& ids,
                        std::vector<HRESULT>& results);

  // A rule broken outside the operations (a block freed twice).
  void reportCallerError(const std::string& what) { diagnostics_->callerError(what); }
  const std::shared_ptr<PlayerDiagnostics>& diagnostics() const { return diagnostics_; }
  PlayerState state() const;
  sys::Path folder() const;

 private:
  enum class OperationKind { kExport, kRemoval, kMove, kFolderRemoval, kCreation };
  struct Operation {
    uint32_t handle = 0;
    OperationKind kind = OperationKind::kRemoval;
    int64_t total = 1;
    uint32_t pollsLeft = 0;
    // An ended export reports itself unfinished until then (commit-delay-ms).
    std::chrono::steady_clock::time_point settlesAt{};
  };
  struct OpenExport {
    uint32_t operation = 0;
    uint32_t trackId = 0;
    uint32_t album = 0;
    uint32_t placement = 0;
    PropertyMap properties;
    TrackAssembly assembly;
  };

  // The checks every call passes first: initialised, still connected, the
  // right device, inside a transaction where one is needed, and any
  // injected fault. A failure is the call's result.
  HRESULT enter(Op op, const std::u16string* device);
  HRESULT injectedFault(Op op, uint32_t call);
  bool ownsTransaction() const { return transactionOwner_ == std::this_thread::get_id(); }
  Operation& newOperation(OperationKind kind, int64_t total);
  const Operation* findOperation(uint32_t handle) const;
  Operation* findOperation(uint32_t handle);
  // write-delay-ms: a write to the medium takes its time.
  void writeDelay() const;
  // Writes the index, or records one change through `record` (a journal
  // line when the store can).
  HRESULT saveStore(const std::function<HRESULT(std::string&)>& record = nullptr);
  void discardExport(const char* why);
  HRESULT validate(const PropertyList& properties, bool forAlbum) const;
  uint64_t freeBytes() const;

  const sys::Path libraryFolder_;
  std::shared_ptr<PlayerDiagnostics> diagnostics_;
  mutable std::mutex mutex_;
  std::condition_variable transactionEnded_;
  PlayerSettings settings_;
  PlayerStore store_;
  bool initialized_ = false;
  bool disconnected_ = false;
  std::thread::id transactionOwner_{};
  uint32_t transactionsStarted_ = 0;
  uint64_t lastExportTotal_ = 0;
  uint32_t calls_[static_cast<size_t>(Op::kCount)] = {};
  std::deque<Operation> operations_;
  uint32_t nextOperation_ = 1;
  std::unique_ptr<OpenExport> export_;
  sys::Path madeTrackFolder_;  // the track folder last made, this session
  std::map<uint32_t, uint32_t> tokens_;
  uint32_t nextToken_ = kFirstToken;
};

}  // namespace standin
