#include "app/listing_texts.h"

#include <gtest/gtest.h>

namespace {

device::TrackRecord Track(std::u16string title, std::u16string artist, std::u16string album,
                          std::u16string genre) {
  device::TrackRecord t;
  t.eid = 77;
  t.trackNumber = 3;
  t.title = std::move(title);
  t.artist = std::move(artist);
  t.album = std::move(album);
  t.genre = std::move(genre);
  t.playTimeMs = 185000;
  return t;
}

TEST(ListingTexts, TrailingWhiteSpaceCutAndEmptyTextsReadUnknown) {
  const auto t = app::ToLoadedTrack(Track(u"Song  ", u"", u" Album\t", u"   "), 1252);
  EXPECT_EQ(t.eid, 77u);
  EXPECT_EQ(t.title, "Song");
  EXPECT_EQ(t.artist, "Unknown");
  // Only trailing white space goes.
  EXPECT_EQ(t.album, " Album");
  EXPECT_EQ(t.genre, "Unknown");
  EXPECT_EQ(t.durationMs, 185000);
}

TEST(ListingTexts, TitleInTheTagCodePage) {
  // e-acute is one byte 0xE9 in code page 1252.
  const auto t = app::ToLoadedTrack(Track(u"Caf\u00e9", u"A", u"B", u"Pop"), 1252);
  EXPECT_EQ(t.title, "Caf\xE9");
}

TEST(ListingTexts, GenreInCodePage936) {
  // U+4E2D is 0xD6 0xD0 in code page 936, whatever the tag code page.
  const auto t = app::ToLoadedTrack(Track(u"T", u"A", u"B", u"\u4e2d"), 1252);
  EXPECT_EQ(t.genre, "\xD6\xD0");
}

TEST(ListingTexts, CharacterOutsideTheCodePageIsMarkedNotDropped) {
  const auto t = app::ToLoadedTrack(Track(u"A\u4e2dB", u"A", u"B", u"Pop"), 1252);
  EXPECT_EQ(t.title, "A?B");
}

TEST(ListingTexts, AlbumNodeKeepsEidNameAndTime) {
  device::AlbumRecord a;
  a.eid = 12;
  a.name = u"Rock ";
  a.playTimeMs = 3725000;
  const auto node = app::ToLoadedAlbum(a);
  EXPECT_EQ(node.eid, 12u);
  EXPECT_EQ(node.name, "Rock");
  EXPECT_EQ(node.durationMs, 3725000);
  EXPECT_TRUE(node.tracks.empty());
}

}  // namespace
