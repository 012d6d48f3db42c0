// A CommandHost for the portable command tests: its transports hand every
// command straight to a simulated player, with no system in between, and
// fail on a refused request or a non-zero sense key.
#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "devcmd/command_host.h"
#include "devcmd/inquiry.h"
#include "stand-ins/scsi_player/simulated_player.h"

namespace devcmdtest {

struct PlayerHostLog {
  std::vector<devcmd::TransportKind> created;
  int transportInquiries = 0;  // Inquiry operations (not plain data-in commands)
};

class PlayerTransport final : public devcmd::ScsiTransport {
 public:
  PlayerTransport(scsiplayer::SimulatedPlayer& player, std::set<int> selectable, PlayerHostLog& log)
      : m_player(player), m_selectable(std::move(selectable)), m_log(log) {}

  HRESULT SendNoData(const uint8_t* cdb, uint32_t cdbLength) override {
    return Run(cdb, cdbLength, devcmd::DataDirection::kNone, nullptr, 0);
  }
  HRESULT SendIn(const uint8_t* cdb, uint32_t cdbLength, uint8_t* buffer, uint32_t length) override {
    return Run(cdb, cdbLength, devcmd::DataDirection::kIn, buffer, length);
  }
  HRESULT SendOut(const uint8_t* cdb, uint32_t cdbLength, uint8_t* buffer, uint32_t length) override {
    return Run(cdb, cdbLength, devcmd::DataDirection::kOut, buffer, length);
  }
  HRESULT Inquiry(uint8_t* buffer, uint32_t length) override {
    ++m_log.transportInquiries;
    const devcmd::InquiryCdb cdb = devcmd::MakeInquiryCdb(static_cast<uint8_t>(length));
    return Run(cdb.data(), static_cast<uint32_t>(cdb.size()), devcmd::DataDirection::kIn, buffer, length);
  }
  HRESULT SelectDrive(int index) override {
    m_nDrive = m_selectable.count(index) ? index : -1;
    return m_nDrive >= 0 ? hr::kOk : hr::kInvalidArg;
  }

 private:
  HRESULT Run(const uint8_t* cdb, uint32_t cdbLength, devcmd::DataDirection direction, uint8_t* buffer,
              uint32_t length) {
    const HRESULT check = CheckCommand(cdb, cdbLength, buffer, length);
    if (hr::Failed(check)) return check;
    scsiplayer::CommandOutcome outcome;
    uint32_t error = 0;
    if (!m_player.Execute(cdb, cdbLength, direction, buffer, length, outcome, error)) return hr::kFail;
    m_byScsiStatus = outcome.scsiStatus;
    return outcome.sense[2] == 0 ? hr::kOk : hr::kFail;
  }

  scsiplayer::SimulatedPlayer& m_player;
  std::set<int> m_selectable;
  PlayerHostLog& m_log;
};

class PlayerHost final : public devcmd::CommandHost {
 public:
  explicit PlayerHost(scsiplayer::SimulatedPlayer& player) : m_player(player) {}

  std::optional<int> os = 7;
  int admin = 4;
  std::optional<std::string> inquirySetting;
  std::set<int> selectable = {3};  // D:
  PlayerHostLog log;

  std::optional<int> osKind() override { return os; }
  int adminLevel() override { return admin; }
  std::unique_ptr<devcmd::ScsiTransport> createTransport(devcmd::TransportKind kind) override {
    log.created.push_back(kind);
    return std::make_unique<PlayerTransport>(m_player, selectable, log);
  }
  std::optional<std::string> inquiryType() override { return inquirySetting; }

 private:
  scsiplayer::SimulatedPlayer& m_player;
};

}  // namespace devcmdtest
