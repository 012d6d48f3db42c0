#include "stand-ins/scsi_player/simulated_player.h"

#include <algorithm>
#include <cstring>

namespace scsiplayer {

namespace {

using devcmd::DataDirection;

// ASC values of the Illegal Request answers.
constexpr uint8_t kAscInvalidOperationCode = 0x20;
constexpr uint8_t kAscInvalidFieldInCdb = 0x24;

void CheckCondition(CommandOutcome& outcome, uint8_t key, uint8_t asc, uint8_t ascq) {
  outcome = CommandOutcome{};
  outcome.scsiStatus = kStatusCheckCondition;
  outcome.sense[0] = 0x70;  // current error, fixed format
  outcome.sense[2] = key;
  outcome.sense[7] = kSenseDataLength - 8;
  outcome.sense[12] = asc;
  outcome.sense[13] = ascq;
}

std::string Padded(std::string_view text, size_t width) {
  std::string s(text.substr(0, width));
  s.resize(width, ' ');
  return s;
}

uint16_t Be16(const uint8_t* p) { return static_cast<uint16_t>(p[0] << 8 | p[1]); }

// The device's own view of the blocks it is sent and answers with.
constexpr size_t kOwnerBlockLength = 50;
constexpr size_t kOwnerNumberAt = 24;
constexpr size_t kOwnerNameAt = 26;
constexpr size_t kMenuBlockLength = 40;
constexpr size_t kMenuAt = 24;
constexpr size_t kReplyLength = 72;
constexpr size_t kReplyStatusAt = 15;
constexpr size_t kReplyMenuAt = 36;
constexpr size_t kReplyTimerAt = 52;

}  // namespace

SimulatedPlayer::SimulatedPlayer() {
  setVendor("KELTAN");
  setProduct("PELLMARK PLAYER");
  setRevision("1.00");
  setVendorSpecific("QUINTAD2");
  for (size_t i = 0; i < m_abyMenu.size(); ++i) m_abyMenu[i] = static_cast<uint8_t>(0x40 + i);
  for (size_t i = 0; i < m_abyTimer.size(); ++i) m_abyTimer[i] = static_cast<uint8_t>(0x60 + i);
}

void SimulatedPlayer::setVendor(std::string_view text) {
  std::lock_guard lock(m_mutex);
  m_sVendor = Padded(text, 8);
}
void SimulatedPlayer::setProduct(std::string_view text) {
  std::lock_guard lock(m_mutex);
  m_sProduct = Padded(text, 16);
}
void SimulatedPlayer::setRevision(std::string_view text) {
  std::lock_guard lock(m_mutex);
  m_sRevision = Padded(text, 4);
}
void SimulatedPlayer::setVendorSpecific(std::string_view text) {
  std::lock_guard lock(m_mutex);
  m_sVendorSpecific = Padded(text, 8);
}
void SimulatedPlayer::setDeviceCap(bool on) {
  std::lock_guard lock(m_mutex);
  m_bDeviceCap = on;
}

std::array<uint8_t, SimulatedPlayer::kInquiryDataSize> SimulatedPlayer::inquiryData() const {
  std::lock_guard lock(m_mutex);
  return inquiryDataLocked();
}

std::array<uint8_t, SimulatedPlayer::kInquiryDataSize> SimulatedPlayer::inquiryDataLocked() const {
  std::array<uint8_t, kInquiryDataSize> d{};
  d[0] = 0x00;  // direct-access block device
  d[1] = 0x80;  // removable medium
  d[2] = 0x02;
  d[3] = 0x02;  // response data format
  d[4] = static_cast<uint8_t>(kInquiryDataSize - 5);
  std::memcpy(&d[8], m_sVendor.data(), 8);
  std::memcpy(&d[16], m_sProduct.data(), 16);
  std::memcpy(&d[32], m_sRevision.data(), 4);
  std::memcpy(&d[36], m_sVendorSpecific.data(), 8);
  d[44] = m_bDeviceCap ? 0x08 : 0x00;
  return d;
}

void SimulatedPlayer::setPreferenceMenu(const std::array<uint8_t, 16>& wire) {
  std::lock_guard lock(m_mutex);
  m_abyMenu = wire;
}
void SimulatedPlayer::setTimerRecord(const std::array<uint8_t, 20>& record) {
  std::lock_guard lock(m_mutex);
  m_abyTimer = record;
}
void SimulatedPlayer::setPreferenceStatus(uint8_t status) {
  std::lock_guard lock(m_mutex);
  m_byPreferenceStatus = status;
}
std::array<uint8_t, 16> SimulatedPlayer::preferenceMenu() const {
  std::lock_guard lock(m_mutex);
  return m_abyMenu;
}

void SimulatedPlayer::reportSense(uint8_t key, uint8_t asc, uint8_t ascq) {
  std::lock_guard lock(m_mutex);
  m_forcedSense = std::array<uint8_t, 3>{key, asc, ascq};
}
void SimulatedPlayer::clearSense() {
  std::lock_guard lock(m_mutex);
  m_forcedSense.reset();
}
void SimulatedPlayer::refuseRequests(uint32_t errorCode) {
  std::lock_guard lock(m_mutex);
  m_refusal = errorCode;
}
void SimulatedPlayer::acceptRequests() {
  std::lock_guard lock(m_mutex);
  m_refusal.reset();
}

std::optional<SimulatedPlayer::OwnerRecord> SimulatedPlayer::owner() const {
  std::lock_guard lock(m_mutex);
  return m_owner;
}
std::vector<std::vector<uint8_t>> SimulatedPlayer::ownerBlocks() const {
  std::lock_guard lock(m_mutex);
  return m_ownerBlocks;
}
std::vector<std::vector<uint8_t>> SimulatedPlayer::preferenceBlocks() const {
  std::lock_guard lock(m_mutex);
  return m_preferenceBlocks;
}
int SimulatedPlayer::resetCount() const {
  std::lock_guard lock(m_mutex);
  return m_nResets;
}
std::vector<SimulatedPlayer::CommandRecord> SimulatedPlayer::commands() const {
  std::lock_guard lock(m_mutex);
  return m_commands;
}

bool SimulatedPlayer::Execute(const uint8_t* cdb, uint32_t cdbLength, DataDirection direction, uint8_t* data,
                              uint32_t dataLength, CommandOutcome& outcome, uint32_t& errorCode) {
  std::lock_guard lock(m_mutex);
  if (m_refusal) {
    errorCode = *m_refusal;
    return false;
  }
  outcome = CommandOutcome{};
  CommandRecord record;
  if (cdb) record.cdb.assign(cdb, cdb + cdbLength);
  record.direction = direction;
  record.dataLength = dataLength;
  if (direction == DataDirection::kOut && data) record.dataOut.assign(data, data + dataLength);
  m_commands.push_back(std::move(record));

  if (m_forcedSense) {
    CheckCondition(outcome, (*m_forcedSense)[0], (*m_forcedSense)[1], (*m_forcedSense)[2]);
    return true;
  }
  if (cdb == nullptr || cdbLength == 0 || (dataLength != 0 && data == nullptr)) {
    CheckCondition(outcome, kSenseIllegalRequest, kAscInvalidFieldInCdb, 0);
    return true;
  }
  switch (cdb[0]) {
    case 0x12:
      runInquiry(cdb, cdbLength, direction, data, dataLength, outcome);
      return true;
    case 0xFC:
      runVendor(cdb, cdbLength, direction, data, dataLength, outcome);
      return true;
    default:
      CheckCondition(outcome, kSenseIllegalRequest, kAscInvalidOperationCode, 0);
      return true;
  }
}

// Runs with m_mutex held, as does runVendor.
void SimulatedPlayer::runInquiry(const uint8_t* cdb, uint32_t cdbLength, DataDirection direction,
                                 uint8_t* data, uint32_t dataLength, CommandOutcome& outcome) {
  if (cdbLength < 6 || direction != DataDirection::kIn) {
    CheckCondition(outcome, kSenseIllegalRequest, kAscInvalidFieldInCdb, 0);
    return;
  }
  const std::array<uint8_t, kInquiryDataSize> d = inquiryDataLocked();
  const uint32_t n = std::min<uint32_t>({cdb[4], dataLength, static_cast<uint32_t>(d.size())});
  std::memcpy(data, d.data(), n);
  outcome.transferred = n;
}

void SimulatedPlayer::runVendor(const uint8_t* cdb, uint32_t cdbLength, DataDirection direction,
                                uint8_t* data, uint32_t dataLength, CommandOutcome& outcome) {
  static constexpr uint8_t kSignature[] = {'D', 'R', 'E', 'S', 'K', 'A', 'L'};
  if (cdbLength != 12 || cdb[1] != 0 || std::memcmp(cdb + 3, kSignature, sizeof(kSignature)) != 0) {
    CheckCondition(outcome, kSenseIllegalRequest, kAscInvalidFieldInCdb, 0);
    return;
  }
  const uint8_t sub = cdb[2];
  const uint32_t length = Be16(cdb + 10);
  static constexpr DataDirection kByHighBits[] = {DataDirection::kIn, DataDirection::kOut,
                                                  DataDirection::kNone};
  const bool directionFits = (sub >> 6) < 3 && kByHighBits[sub >> 6] == direction;
  const bool lengthFits = direction == DataDirection::kNone ? length == 0 : length <= dataLength;
  if (!directionFits || !lengthFits) {
    CheckCondition(outcome, kSenseIllegalRequest, kAscInvalidFieldInCdb, 0);
    return;
  }
  switch (sub) {
    case 0x41: {
      if (length < kOwnerBlockLength) break;
      m_ownerBlocks.emplace_back(data, data + length);
      OwnerRecord owner;
      owner.number = Be16(data + kOwnerNumberAt);
      for (size_t i = kOwnerNameAt; i < kOwnerBlockLength && data[i] != 0; ++i)
        owner.name.push_back(static_cast<char>(data[i]));
      m_owner = owner;
      outcome.transferred = length;
      return;
    }
    case 0x42:
      if (length < kMenuBlockLength) break;
      m_preferenceBlocks.emplace_back(data, data + length);
      std::memcpy(m_abyMenu.data(), data + kMenuAt, m_abyMenu.size());
      outcome.transferred = length;
      return;
    case 0x02: {
      uint8_t reply[kReplyLength] = {0x00, 0xE0, 0x00, 0x08, 0x00, 0x46, 0xAB, 0xAB,
                                     0x00, 0x00, 0x00, 0x00, 0x0A, 0x00, 0x04};
      reply[kReplyStatusAt] = m_byPreferenceStatus;
      std::memcpy(reply + kReplyMenuAt, m_abyMenu.data(), m_abyMenu.size());
      std::memcpy(reply + kReplyTimerAt, m_abyTimer.data(), m_abyTimer.size());
      const uint32_t n = std::min<uint32_t>(length, kReplyLength);
      std::memcpy(data, reply, n);
      outcome.transferred = n;
      return;
    }
    case 0x80:
      ++m_nResets;
      return;
    default:
      break;
  }
  CheckCondition(outcome, kSenseIllegalRequest, kAscInvalidFieldInCdb, 0);
}

}  // namespace scsiplayer
