#include "stand-ins/device_access/player_device.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include "device/property_ids.h"
#include "platform/codepage.h"
#include "platform/cost_meter.h"
#include "stand-ins/device_access/player_folder.h"
#include "stand-ins/device_access/standin_results.h"

namespace standin {

namespace {

constexpr const char* kOpNames[] = {
    "Initialize",     "GetDeviceList",        "IsDeviceConnected", "GetMediumCapacity",    "StartTransaction",
    "EndTransaction", "StartExportOperation", "WriteExportData",   "EndExportOperation",   "ResolveObject",
    "RemoveObject",   "GetCurrentOperation",  "CancelOperation",   "GetOperationProgress", "EnumMediumIds",
    "GetRootFolder",  "GetChildCount",        "GetChildIds",       "GetProperties",        "SetProperties",
    "CreateObject",   "MoveObjects",          "DeleteFolders"};
static_assert(sizeof(kOpNames) / sizeof(kOpNames[0]) == static_cast<size_t>(Op::kCount));

// Operations that need no transaction: binding and the connectivity poll.
bool NeedsTransaction(Op op) {
  return op != Op::kInitialize && op != Op::kGetDeviceList && op != Op::kIsDeviceConnected &&
         op != Op::kStartTransaction && op != Op::kEndTransaction;
}

bool IsListing(Op op) {
  return op == Op::kEnumMediumIds || op == Op::kGetChildCount || op == Op::kGetChildIds;
}

std::string Hex(HRESULT h) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(h));
  return text;
}

constexpr size_t kKeptOperations = 64;

}  // namespace

const char* OpName(Op op) { return kOpNames[static_cast<size_t>(op)]; }

PlayerDevice::PlayerDevice(sys::Path libraryFolder)
    : libraryFolder_(std::move(libraryFolder)), diagnostics_(std::make_shared<PlayerDiagnostics>()) {}

PlayerDevice::~PlayerDevice() {
  std::lock_guard<std::mutex> hold(mutex_);
  if (export_) discardExport("the library was released with the export open");
}

HRESULT PlayerDevice::enter(Op op, const std::u16string* device) {
  const uint32_t call = ++calls_[static_cast<size_t>(op)];
  if (op != Op::kInitialize && !initialized_) {
    diagnostics_->callerError(std::string(OpName(op)) + " before Initialize");
    return kCallerError;
  }
  if (disconnected_ && op != Op::kGetDeviceList && op != Op::kIsDeviceConnected) return kNotConnected;
  if (device && (settings_.deviceCount == 0 || *device != settings_.deviceName)) return kNoSuchDevice;
  if (NeedsTransaction(op) && !ownsTransaction()) {
    diagnostics_->callerError(std::string(OpName(op)) + " outside a transaction");
    return kCallerError;
  }
  if (HRESULT h = injectedFault(op, call); hr::Failed(h)) return h;
  if (settings_.denyListing && IsListing(op)) return hr::kAccessDenied;
  return hr::kOk;
}

HRESULT PlayerDevice::injectedFault(Op op, uint32_t call) {
  for (const FaultRule& rule : settings_.faults) {
    if (rule.call == call && rule.operation == OpName(op)) {
      diagnostics_->injectedFaults.fetch_add(1);
      diagnostics_->log.line(std::string("injected: ") + OpName(op) + " call " + std::to_string(call) +
                             " -> " + Hex(rule.result));
      return rule.result;
    }
  }
  return hr::kOk;
}

PlayerState PlayerDevice::state() const {
  std::lock_guard<std::mutex> hold(mutex_);
  PlayerState s;
  s.initialized = initialized_;
  s.disconnected = disconnected_;
  s.transactionOpen = transactionOwner_ != std::thread::id{};
  s.exportOpen = export_ != nullptr;
  s.transactionsStarted = transactionsStarted_;
  s.callerErrors = diagnostics_->callerErrors.load();
  s.injectedFaults = diagnostics_->injectedFaults.load();
  s.outstandingBlocks = diagnostics_->outstandingBlocks.load();
  s.lastExportTotal = lastExportTotal_;
  return s;
}

sys::Path PlayerDevice::folder() const {
  std::lock_guard<std::mutex> hold(mutex_);
  return store_.folder();
}

HRESULT PlayerDevice::initialize(uint32_t mode, const std::u16string& environmentFolder) {
  std::lock_guard<std::mutex> hold(mutex_);
  const uint32_t call = ++calls_[static_cast<size_t>(Op::kInitialize)];
  if (initialized_) {
    diagnostics_->callerError("Initialize called twice");
    return kCallerError;
  }
  if (mode != device::kInitializeMode) return hr::kInvalidArg;
  std::vector<std::string> problems;
  PlayerSettings settings;
  LoadSettingsFile(libraryFolder_ / kLibrarySettingsName, settings, problems);
  const sys::Path folder = ResolvePlayerFolder(libraryFolder_, environmentFolder, settings.playerFolder);
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  diagnostics_->log.setPath(folder / kPlayerLogName);
  LoadSettingsFile(folder / kPlayerSettingsName, settings, problems);
  for (const auto& p : problems) diagnostics_->log.line("settings: " + p);
  settings_ = std::move(settings);
  std::string problem;
  if (HRESULT h = store_.open(folder, problem); hr::Failed(h)) {
    diagnostics_->log.line("cannot open the player: " + problem);
    return h;
  }
  initialized_ = true;
  diagnostics_->log.line("initialised: " + std::to_string(store_.albums().size()) + " albums, " +
                         std::to_string(store_.tracks().size()) + " tracks");
  // An injected failure only changes the answer: the player stays usable,
  // so a caller that goes on regardless can be seen doing so.
  return injectedFault(Op::kInitialize, call);
}

HRESULT PlayerDevice::getDeviceList(std::vector<std::u16string>& names) {
  std::lock_guard<std::mutex> hold(mutex_);
  names.clear();
  if (HRESULT h = enter(Op::kGetDeviceList, nullptr); hr::Failed(h)) return h;
  if (disconnected_) return hr::kOk;
  for (uint32_t i = 0; i < settings_.deviceCount; ++i) {
    names.push_back(i == 0 ? settings_.deviceName
                           : settings_.deviceName + u" " + sys::Utf16FromUtf8(std::to_string(i + 1)));
  }
  return hr::kOk;
}

HRESULT PlayerDevice::isDeviceConnected(const std::u16string& device, uint32_t& connected) {
  std::lock_guard<std::mutex> hold(mutex_);
  connected = 0;
  const uint32_t poll = calls_[static_cast<size_t>(Op::kIsDeviceConnected)] + 1;
  if (!disconnected_ && settings_.disconnectAtPoll != 0 && poll >= settings_.disconnectAtPoll &&
      initialized_) {
    disconnected_ = true;
    diagnostics_->log.line("disconnected at poll " + std::to_string(poll));
  }
  if (HRESULT h = enter(Op::kIsDeviceConnected, &device); hr::Failed(h)) return h;
  connected = disconnected_ ? 0 : 1;
  return hr::kOk;
}

uint64_t PlayerDevice::freeBytes() const {
  if (settings_.mediumFull) return 0;
  uint64_t used = store_.usedBytes();
  if (export_) used += export_->assembly.total();
  return used >= settings_.capacity ? 0 : settings_.capacity - used;
}

HRESULT PlayerDevice::getMediumCapacity(int64_t& third, int64_t& freeSpace, int64_t& capacity) {
  std::lock_guard<std::mutex> hold(mutex_);
  third = freeSpace = capacity = 0;
  if (HRESULT h = enter(Op::kGetMediumCapacity, nullptr); hr::Failed(h)) return h;
  third = static_cast<int64_t>(store_.usedBytes());
  freeSpace = static_cast<int64_t>(freeBytes());
  capacity = static_cast<int64_t>(settings_.capacity);
  return hr::kOk;
}

HRESULT PlayerDevice::startTransaction(const std::u16string& device) {
  std::unique_lock<std::mutex> hold(mutex_);
  if (HRESULT h = enter(Op::kStartTransaction, &device); hr::Failed(h)) return h;
  if (ownsTransaction()) {
    diagnostics_->callerError("nested StartTransaction");
    return kCallerError;
  }
  const bool free = transactionEnded_.wait_for(hold, std::chrono::milliseconds(kTransactionWaitMs),
                                               [this] { return transactionOwner_ == std::thread::id{}; });
  if (!free) return kTimeout;
  transactionOwner_ = std::this_thread::get_id();
  ++transactionsStarted_;
  return hr::kOk;
}

HRESULT PlayerDevice::endTransaction(const std::u16string& device) {
  std::lock_guard<std::mutex> hold(mutex_);
  const HRESULT gate = enter(Op::kEndTransaction, &device);
  if (gate == kCallerError) return gate;  // not initialised
  if (!ownsTransaction()) {
    diagnostics_->callerError("EndTransaction without StartTransaction");
    return kCallerError;
  }
  // The transaction ends whatever the call answers: a library cannot leave
  // the device locked after its end call.
  HRESULT result = gate;
  if (export_) {
    diagnostics_->callerError("export left open at EndTransaction");
    discardExport("its transaction ended");
    if (hr::Succeeded(result)) result = kCallerError;
  }
  transactionOwner_ = std::thread::id{};
  transactionEnded_.notify_all();
  return result;
}

PlayerDevice::Operation& PlayerDevice::newOperation(OperationKind kind, int64_t total) {
  Operation op;
  op.handle = nextOperation_++;
  op.kind = kind;
  op.total = total;
  op.pollsLeft = kind == OperationKind::kExport ? 0 : settings_.operationPolls;
  operations_.push_back(op);
  while (operations_.size() > kKeptOperations) operations_.pop_front();
  return operations_.back();
}

const PlayerDevice::Operation* PlayerDevice::findOperation(uint32_t handle) const {
  for (const auto& op : operations_) {
    if (op.handle == handle) return &op;
  }
  return nullptr;
}

PlayerDevice::Operation* PlayerDevice::findOperation(uint32_t handle) {
  for (auto& op : operations_) {
    if (op.handle == handle) return &op;
  }
  return nullptr;
}

void PlayerDevice::writeDelay() const {
  if (settings_.writeDelayMs) std::this_thread::sleep_for(std::chrono::milliseconds(settings_.writeDelayMs));
}

HRESULT PlayerDevice::saveStore(const std::function<HRESULT(std::string&)>& record) {
  costs::Scope meter(costs::Area::kIndexSaves);
  std::string problem;
  HRESULT h = record ? record(problem) : store_.save(problem);
  if (hr::Failed(h)) diagnostics_->log.line("cannot save the index: " + problem);
  return h;
}

void PlayerDevice::discardExport(const char* why) {
  diagnostics_->log.line("export of track " + std::to_string(export_->trackId) + " discarded: " + why);
  export_->assembly.discard();
  export_.reset();
}

HRESULT PlayerDevice::validate(const PropertyList& properties, bool forAlbum) const {
  for (const auto& [id, value] : properties) {
    const PropertyType type = TypeOfProperty(id);
    if (type == PropertyType::kUnknown || id == device::kPropFilePath) return hr::kInvalidArg;
    if (forAlbum && id != device::kPropName) return hr::kInvalidArg;
    if (!HasType(value, type)) return hr::kInvalidArg;
    if (id == device::kPropHeaderBytes &&
        std::get<std::vector<uint8_t>>(value).size() != device::kHeaderPropertyBytes) {
      return hr::kInvalidArg;
    }
  }
  return hr::kOk;
}

HRESULT PlayerDevice::startExport(const std::u16string& device, uint32_t parent, uint32_t placement,
                                  uint64_t total, const PropertyList& properties, uint32_t& newId,
                                  uint32_t& operation) {
  std::lock_guard<std::mutex> hold(mutex_);
  newId = operation = 0;
  if (HRESULT h = enter(Op::kStartExportOperation, &device); hr::Failed(h)) return h;
  if (export_) {
    diagnostics_->callerError("StartExportOperation while export " + std::to_string(export_->operation) +
                              " is open");
    return kCallerError;
  }
  lastExportTotal_ = total;
  if (!store_.isAlbum(parent)) return kNotFound;
  if (placement != device::kPlaceBefore && placement != device::kPlaceAfter &&
      placement != device::kPlaceInto) {
    return hr::kInvalidArg;
  }
  if (total < 2ull * TrackAssembly::kBlockLength || total > static_cast<uint64_t>(INT64_MAX)) {
    return hr::kInvalidArg;
  }
  if (HRESULT h = validate(properties, false); hr::Failed(h)) return h;
  if (freeBytes() < total) {
    diagnostics_->log.line("medium full: " + std::to_string(total) + " bytes announced, " +
                           std::to_string(freeBytes()) + " free");
    return kDiskFull;
  }
  auto ex = std::make_unique<OpenExport>();
  ex->trackId = store_.allocateId();
  ex->album = parent;
  ex->placement = placement;
  for (const auto& [id, value] : properties) ex->properties[id] = value;
  const sys::Path path = store_.tracksFolder() / PlayerStore::TrackFileName(ex->trackId);
  // The destination never exists before its export: files no stored track
  // owns went when the player started, and an export that fails takes its
  // file with it. Each folder is made once a session rather than asked
  // about for every track.
  if (path.parent_path() != madeTrackFolder_) {
    std::error_code madeFolder;
    std::filesystem::create_directories(path.parent_path(), madeFolder);
    if (!madeFolder) madeTrackFolder_ = path.parent_path();
  }
  ex->assembly.begin(path, total);
  ex->operation = newOperation(OperationKind::kExport, static_cast<int64_t>(total)).handle;
  newId = ex->trackId;
  operation = ex->operation;
  export_ = std::move(ex);
  return hr::kOk;
}

HRESULT PlayerDevice::writeExport(const std::u16string& device, uint32_t operation, const uint8_t* data,
                                  size_t count) {
  std::lock_guard<std::mutex> hold(mutex_);
  if (HRESULT h = enter(Op::kWriteExportData, &device); hr::Failed(h)) return h;
  if (!export_ || export_->operation != operation) return hr::kInvalidArg;
  if (!data && count) return hr::kPointer;
  writeDelay();
  HRESULT h = export_->assembly.write(data, count);
  if (hr::Failed(h)) {
    diagnostics_->log.line("WriteExportData of " + std::to_string(count) + " bytes refused (" + Hex(h) +
                           "), " + std::to_string(export_->assembly.received()) + " of " +
                           std::to_string(export_->assembly.total()) + " received");
  }
  return h;
}

HRESULT PlayerDevice::endExport(const std::u16string& device, uint32_t operation) {
  std::lock_guard<std::mutex> hold(mutex_);
  if (HRESULT h = enter(Op::kEndExportOperation, &device); hr::Failed(h)) return h;
  if (!export_ || export_->operation != operation) return hr::kInvalidArg;
  uint64_t fileBytes = 0;
  if (HRESULT h = export_->assembly.finish(fileBytes); hr::Failed(h)) {
    diagnostics_->log.line("EndExportOperation refused (" + Hex(h) +
                           "): " + std::to_string(export_->assembly.received()) + " of " +
                           std::to_string(export_->assembly.total()) + " bytes received");
    return h;
  }
  StoredTrack track;
  track.id = export_->trackId;
  track.fileName = PlayerStore::TrackFileName(track.id);
  track.fileBytes = fileBytes;
  track.properties = std::move(export_->properties);
  const size_t position = export_->placement == device::kPlaceBefore ? 0 : SIZE_MAX;
  const uint32_t album = export_->album;
  const uint32_t id = track.id;
  store_.insertTrack(album, position, std::move(track));
  if (HRESULT h = saveStore([&](std::string& problem) { return store_.saveAddedTrack(id, problem); });
      hr::Failed(h)) {
    store_.removeTrack(id);  // also deletes the file
    export_.reset();
    return h;
  }
  diagnostics_->log.line("track " + std::to_string(id) + " committed to album " + std::to_string(album) +
                         ", " + std::to_string(fileBytes) + " bytes");
  if (Operation* op = findOperation(export_->operation))
    op->settlesAt = std::chrono::steady_clock::now() + std::chrono::milliseconds(settings_.commitDelayMs);
  export_.reset();
  return hr::kOk;
}

HRESULT PlayerDevice::resolveObject(const std::u16string& device, uint32_t id, uint32_t& token) {
  std::lock_guard<std::mutex> hold(mutex_);
  token = 0;
  if (HRESULT h = enter(Op::kResolveObject, &device); hr::Failed(h)) return h;
  if (!store_.isTrack(id) && !store_.isAlbum(id)) return kNotFound;
  token = nextToken_++;
  tokens_[token] = id;
  return hr::kOk;
}

HRESULT PlayerDevice::removeObject(const std::u16string& device, uint32_t token) {
  std::lock_guard<std::mutex> hold(mutex_);
  if (HRESULT h = enter(Op::kRemoveObject, &device); hr::Failed(h)) return h;
  auto it = tokens_.find(token);
  if (it == tokens_.end()) return hr::kInvalidArg;
  const uint32_t id = it->second;
  tokens_.erase(it);
  if (store_.isTrack(id)) {
    store_.removeTrack(id);
  } else if (HRESULT h = store_.removeAlbum(id); hr::Failed(h)) {
    return h;
  }
  newOperation(OperationKind::kRemoval, 1);
  return saveStore();
}

HRESULT PlayerDevice::getCurrentOperation(const std::u16string& device, uint32_t& operation) {
  std::lock_guard<std::mutex> hold(mutex_);
  operation = 0;
  if (HRESULT h = enter(Op::kGetCurrentOperation, &device); hr::Failed(h)) return h;
  if (!operations_.empty()) operation = operations_.back().handle;
  return hr::kOk;
}

HRESULT PlayerDevice::cancelOperation(const std::u16string& device, uint32_t operation) {
  std::lock_guard<std::mutex> hold(mutex_);
  if (HRESULT h = enter(Op::kCancelOperation, &device); hr::Failed(h)) return h;
  if (export_ && export_->operation == operation) {
    discardExport("cancelled");
    return hr::kOk;
  }
  return findOperation(operation) ? hr::kFalse : hr::kInvalidArg;
}

HRESULT PlayerDevice::getOperationProgress(const std::u16string& device, uint32_t operation, int64_t& current,
                                           int64_t& total) {
  std::lock_guard<std::mutex> hold(mutex_);
  current = total = 0;
  if (HRESULT h = enter(Op::kGetOperationProgress, &device); hr::Failed(h)) return h;
  if (operation == 0) return hr::kOk;  // nothing has run yet
  if (export_ && export_->operation == operation) {
    current = static_cast<int64_t>(export_->assembly.received());
    total = settings_.zeroProgressTotal ? 0 : static_cast<int64_t>(export_->assembly.total());
    return hr::kOk;
  }
  for (auto& op : operations_) {
    if (op.handle != operation) continue;
    total = op.kind == OperationKind::kExport && settings_.zeroProgressTotal ? 0 : op.total;
    if (op.pollsLeft > 0) {
      --op.pollsLeft;
      current = 0;
    } else if (std::chrono::steady_clock::now() < op.settlesAt) {
      current = total > 0 ? total - 1 : 0;  // every byte is in; the player still files the track
    } else {
      current = total;
    }
    return hr::kOk;
  }
  return hr::kInvalidArg;
}

HRESULT PlayerDevice::enumMediumIds(const std::u16string& device, std::vector<uint32_t>& kinds,
                                    std::vector<uint32_t>& second) {
  std::lock_guard<std::mutex> hold(mutex_);
  kinds.clear();
  second.clear();
  if (HRESULT h = enter(Op::kEnumMediumIds, &device); hr::Failed(h)) return h;
  for (uint32_t i = 0; i < settings_.mediumCount; ++i) {
    kinds.push_back(settings_.mediumKind);
    second.push_back(0x1000 + i);
  }
  return hr::kOk;
}

HRESULT PlayerDevice::getRootFolder(const std::u16string& device, uint32_t kind, uint32_t& root) {
  std::lock_guard<std::mutex> hold(mutex_);
  root = 0;
  if (HRESULT h = enter(Op::kGetRootFolder, &device); hr::Failed(h)) return h;
  if (kind != device::kRootFolderKind) return hr::kInvalidArg;
  root = PlayerStore::kRootId;
  return hr::kOk;
}

HRESULT PlayerDevice::getChildCount(const std::u16string& device, uint32_t parent, uint32_t& count) {
  std::lock_guard<std::mutex> hold(mutex_);
  count = 0;
  if (HRESULT h = enter(Op::kGetChildCount, &device); hr::Failed(h)) return h;
  if (parent == PlayerStore::kRootId) {
    count = static_cast<uint32_t>(store_.albums().size());
    return hr::kOk;
  }
  const StoredAlbum* a = store_.album(parent);
  if (!a) return kNotFound;
  count = static_cast<uint32_t>(a->tracks.size());
  return hr::kOk;
}

HRESULT PlayerDevice::getChildIds(const std::u16string& device, uint32_t parent,
                                  const std::vector<uint32_t>& positions, std::vector<uint32_t>& ids) {
  std::lock_guard<std::mutex> hold(mutex_);
  ids.clear();
  if (HRESULT h = enter(Op::kGetChildIds, &device); hr::Failed(h)) return h;
  std::vector<uint32_t> children;
  if (parent == PlayerStore::kRootId) {
    for (const auto& a : store_.albums()) children.push_back(a.id);
  } else if (const StoredAlbum* a = store_.album(parent)) {
    children = a->tracks;
  } else {
    return kNotFound;
  }
  for (uint32_t p : positions) {
    if (p < 1 || p > children.size()) {
      ids.clear();
      return hr::kInvalidArg;
    }
    ids.push_back(children[p - 1]);
  }
  return hr::kOk;
}

HRESULT PlayerDevice::getProperties(const std::u16string& device, uint32_t id,
                                    const std::vector<uint32_t>& propertyIds,
                                    std::vector<PropertyValue>& values) {
  std::lock_guard<std::mutex> hold(mutex_);
  values.clear();
  if (HRESULT h = enter(Op::kGetProperties, &device); hr::Failed(h)) return h;
  const PropertyMap* props = nullptr;
  sys::Path file;
  int64_t albumTime = 0;
  const bool isAlbum = store_.isAlbum(id);
  if (isAlbum) {
    props = &store_.album(id)->properties;
    albumTime = store_.albumPlayTime(*store_.album(id));
  } else if (StoredTrack* t = store_.track(id)) {
    if (id == settings_.unreadableTrack) return kInvalidData;
    props = &t->properties;
    file = store_.trackPath(*t);
  } else if (export_ && export_->trackId == id) {
    props = &export_->properties;
    file = export_->assembly.path();
  } else {
    return kNotFound;
  }
  for (uint32_t p : propertyIds) {
    if (isAlbum && p == device::kPropPlayTime) {
      values.emplace_back(albumTime);
    } else if (!isAlbum && p == device::kPropFilePath) {
      values.emplace_back(file.u16string());
    } else if (auto it = props->find(p); it != props->end()) {
      values.push_back(it->second);
    } else {
      values.emplace_back(std::monostate{});
    }
  }
  return hr::kOk;
}

HRESULT PlayerDevice::setProperties(const std::u16string& device, uint32_t id,
                                    const PropertyList& properties) {
  std::lock_guard<std::mutex> hold(mutex_);
  if (HRESULT h = enter(Op::kSetProperties, &device); hr::Failed(h)) return h;
  PropertyMap* props = nullptr;
  bool stored = true;
  if (StoredAlbum* a = store_.album(id)) {
    props = &a->properties;
  } else if (StoredTrack* t = store_.track(id)) {
    props = &t->properties;
  } else if (export_ && export_->trackId == id) {
    props = &export_->properties;
    stored = false;  // saved when the export commits
  } else {
    return kNotFound;
  }
  if (HRESULT h = validate(properties, store_.isAlbum(id)); hr::Failed(h)) return h;
  writeDelay();
  const PropertyMap before = *props;
  for (const auto& [pid, value] : properties) (*props)[pid] = value;
  if (!stored) return hr::kOk;
  HRESULT h = saveStore([&](std::string& problem) { return store_.saveProperties(id, problem); });
  if (hr::Failed(h)) *props = before;
  return h;
}

HRESULT PlayerDevice::createObject(const std::u16string& device, uint32_t kind, uint32_t parent,
                                   uint32_t objectKind, uint32_t& id) {
  std::lock_guard<std::mutex> hold(mutex_);
  id = 0;
  if (HRESULT h = enter(Op::kCreateObject, &device); hr::Failed(h)) return h;
  if (settings_.albumCreationFails) {
    diagnostics_->log.line("album creation refused by the settings");
    return kPending;
  }
  if (kind != device::kCreateFolderKind || objectKind != device::kCreateFolderKind ||
      parent != PlayerStore::kRootId) {
    return hr::kInvalidArg;
  }
  const uint32_t newId = store_.allocateId();
  store_.addAlbum(newId);
  if (HRESULT h = saveStore([&](std::string& problem) { return store_.saveAddedAlbum(newId, problem); });
      hr::Failed(h)) {
    store_.removeAlbum(newId);
    return h;
  }
  newOperation(OperationKind::kCreation, 1);
  id = newId;
  return hr::kOk;
}

HRESULT PlayerDevice::moveObjects(const std::u16string& device, uint32_t reference, uint32_t placement,
                                  const std::vector<uint32_t>& ids, std::vector<HRESULT>& results) {
  std::lock_guard<std::mutex> hold(mutex_);
  results.clear();
  if (HRESULT h = enter(Op::kMoveObjects, &device); hr::Failed(h)) return h;
  if (!store_.isAlbum(reference) && !store_.isTrack(reference)) return kNotFound;
  store_.move(reference, placement, ids, results);
  newOperation(OperationKind::kMove, static_cast<int64_t>(std::max<size_t>(ids.size(), 1)));
  return saveStore();
}

HRESULT PlayerDevice::deleteFolders(const std::u16string& device, const std::vector<uint32_t>& ids,
                                    std::vector<HRESULT>& results) {
  std::lock_guard<std::mutex> hold(mutex_);
  results.clear();
  if (HRESULT h = enter(Op::kDeleteFolders, &device); hr::Failed(h)) return h;
  for (uint32_t id : ids) results.push_back(store_.removeAlbum(id));
  newOperation(OperationKind::kFolderRemoval, static_cast<int64_t>(std::max<size_t>(ids.size(), 1)));
  return saveStore();
}

}  // namespace standin
