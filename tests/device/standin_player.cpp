#include "tests/device/standin_player.h"

#include <gtest/gtest.h>

#include "stand-ins/device_access/player_folder.h"

namespace devicetest {

StandInPlayer::StandInPlayer(const std::string& settings, bool initialize, const std::u16string& folderName)
    : m_folder(m_dir.path() / folderName), m_wrap(std::make_unique<device::CIPACWrap>()) {
  std::filesystem::create_directories(m_folder);
  if (!settings.empty()) testsupport::WriteFile(m_folder / standin::kPlayerSettingsName, settings);
  ::SetEnvironmentVariableW(L"PELLMARK_PLAYER", m_folder.c_str());
  m_wrap->SetEvents(&m_events);
  if (initialize) {
    EXPECT_EQ(m_wrap->Initialize(nullptr, L"c:\\temp", L"c:\\temp"), S_OK);
  }
}

StandInPlayer::~StandInPlayer() {
  m_wrap.reset();
  ::SetEnvironmentVariableW(L"PELLMARK_PLAYER", nullptr);
}

standin::StandInState StandInPlayer::state() {
  standin::StandInState s{};
  if (!m_wrap || !m_wrap->Library()) return s;
  win::ComPtr<standin::IPlayerStandIn> view;
  if (SUCCEEDED(m_wrap->Library()->QueryInterface(standin::kIidPlayerStandIn, view.putVoid())))
    view->GetState(&s);
  return s;
}

void StandInPlayer::expectClean() {
  const standin::StandInState s = state();
  EXPECT_EQ(s.transactionOpen, 0u);
  EXPECT_EQ(s.exportOpen, 0u);
  EXPECT_EQ(s.callerErrors, 0u) << log();
  EXPECT_EQ(s.outstandingBlocks, 0);
  EXPECT_FALSE(m_wrap && m_wrap->InTransaction());
}

std::string StandInPlayer::log() const { return testsupport::ReadText(m_folder / standin::kPlayerLogName); }

standin::PlayerStore StandInPlayer::stored() const {
  standin::PlayerStore store;
  std::string problem;
  EXPECT_EQ(store.load(m_folder, problem), S_OK) << problem;
  return store;
}

std::vector<std::string> StandInPlayer::trackFiles() const {
  std::vector<std::string> names = standin::PlayerStore::FilesInTracksFolder(m_folder / "tracks");
  std::sort(names.begin(), names.end());
  return names;
}

sys::Path StandInPlayer::writeSource(const std::string& name, const std::vector<uint8_t>& bytes) {
  const sys::Path path = m_dir / name;
  testsupport::WriteFile(path, bytes);
  return path;
}

mp3::TrackInfo StandInPlayer::job(const sys::Path& source, const std::u16string& title,
                                  const std::u16string& artist, const std::u16string& album,
                                  const std::u16string& genre, uint32_t durationMs) {
  mp3::TrackInfo info;
  info.sourcePath = source;
  info.wideTitle = title;
  info.wideArtist = artist;
  info.wideAlbum = album;
  info.wideGenre = genre;
  info.durationMs = durationMs;
  return info;
}

uint32_t StandInPlayer::createAlbum(const std::u16string& name) {
  uint32_t eid = 0;
  EXPECT_EQ(m_wrap->StartTransaction(), S_OK);
  EXPECT_EQ(m_wrap->CreateAlbum(name, eid), S_OK);
  EXPECT_EQ(m_wrap->EndTransaction(), S_OK);
  return eid;
}

HRESULT StandInPlayer::transfer(const mp3::TrackInfo& job, uint32_t album, uint32_t placement) {
  EXPECT_EQ(m_wrap->StartTransaction(), S_OK);
  lastNewTrackEid = 12345;  // overwritten by every transfer
  const HRESULT h = m_wrap->Transfer(job, album, placement, &lastNewTrackEid);
  if (h == S_OK) {
    EXPECT_EQ(m_wrap->EndTransaction(), S_OK);
  }
  return h;
}

std::vector<device::TrackRecord> StandInPlayer::tracks(uint32_t album) {
  std::vector<device::TrackRecord> records;
  uint32_t count = 0;
  EXPECT_EQ(m_wrap->EnumTracks(album, count, &records), S_OK);
  return records;
}

std::vector<uint8_t> StandInPlayer::trackBytes(uint32_t eid) const {
  return testsupport::ReadFile(m_folder / "tracks" / standin::PlayerStore::TrackFileName(eid));
}

}  // namespace devicetest
