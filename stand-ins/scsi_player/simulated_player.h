// A simulated player: the device end of every pass-through route in the
// tests of the command library and the copy wizard. It answers INQUIRY
// with settable identification and the vendor command 0xFC with the
// sub-commands 0x41 (owner name), 0x42 (preference menu), 0x02 (preference
// and timer read-back) and 0x80 (reset); it keeps what it was sent, can end
// commands with a chosen sense key, and can refuse requests outright.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "stand-ins/scsi_player/scsi_target.h"

namespace scsiplayer {

class SimulatedPlayer final : public ScsiTarget {
 public:
  // Size of the INQUIRY data the player holds: through byte 44, the
  // DeviceCap byte, and padding to 56.
  static constexpr size_t kInquiryDataSize = 56;

  struct OwnerRecord {
    uint16_t number = 0;
    std::string name;
  };
  struct CommandRecord {
    std::vector<uint8_t> cdb;
    devcmd::DataDirection direction = devcmd::DataDirection::kNone;
    uint32_t dataLength = 0;
    std::vector<uint8_t> dataOut;  // the bytes sent to the device
  };

  SimulatedPlayer();

  // Identification, each text padded with blanks (or cut) to its field:
  // vendor 8, product 16, revision 4, vendor-specific 8 (bytes 36-43).
  void setVendor(std::string_view text);
  void setProduct(std::string_view text);
  void setRevision(std::string_view text);
  void setVendorSpecific(std::string_view text);
  // Bit 3 of byte 44.
  void setDeviceCap(bool on);
  std::array<uint8_t, kInquiryDataSize> inquiryData() const;

  // The records the player answers 0x02 with, as they travel: the menu's
  // 16-bit value most significant byte first at 12-13. 0x42 replaces the
  // menu.
  void setPreferenceMenu(const std::array<uint8_t, 16>& wire);
  void setTimerRecord(const std::array<uint8_t, 20>& record);
  // Status byte (response byte 15) of the answer to 0x02; 0 by default.
  void setPreferenceStatus(uint8_t status);
  std::array<uint8_t, 16> preferenceMenu() const;

  // Ends every following command with Check Condition and this sense,
  // without carrying it out, until clearSense.
  void reportSense(uint8_t key, uint8_t asc, uint8_t ascq);
  void clearSense();
  // Refuses every following request with errorCode (as a bridge that will
  // not pass it on), until acceptRequests.
  void refuseRequests(uint32_t errorCode);
  void acceptRequests();

  // What the player was sent.
  std::optional<OwnerRecord> owner() const;
  // The blocks that came with 0x41 and 0x42, whole.
  std::vector<std::vector<uint8_t>> ownerBlocks() const;
  std::vector<std::vector<uint8_t>> preferenceBlocks() const;
  int resetCount() const;
  // Every command that reached the device (refused requests excluded).
  std::vector<CommandRecord> commands() const;

  bool Execute(const uint8_t* cdb, uint32_t cdbLength, devcmd::DataDirection direction, uint8_t* data,
               uint32_t dataLength, CommandOutcome& outcome, uint32_t& errorCode) override;

 private:
  std::array<uint8_t, kInquiryDataSize> inquiryDataLocked() const;
  void runInquiry(const uint8_t* cdb, uint32_t cdbLength, devcmd::DataDirection direction, uint8_t* data,
                  uint32_t dataLength, CommandOutcome& outcome);
  void runVendor(const uint8_t* cdb, uint32_t cdbLength, devcmd::DataDirection direction, uint8_t* data,
                 uint32_t dataLength, CommandOutcome& outcome);

  mutable std::mutex m_mutex;
  std::string m_sVendor, m_sProduct, m_sRevision, m_sVendorSpecific;
  bool m_bDeviceCap = true;
  std::array<uint8_t, 16> m_abyMenu{};
  std::array<uint8_t, 20> m_abyTimer{};
  uint8_t m_byPreferenceStatus = 0;
  std::optional<std::array<uint8_t, 3>> m_forcedSense;
  std::optional<uint32_t> m_refusal;
  std::optional<OwnerRecord> m_owner;
  std::vector<std::vector<uint8_t>> m_ownerBlocks;
  std::vector<std::vector<uint8_t>> m_preferenceBlocks;
  int m_nResets = 0;
  std::vector<CommandRecord> m_commands;
};

}  // namespace scsiplayer
