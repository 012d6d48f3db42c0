// Which names are MP3 files, album names of nested folders, and the
// out-of-space text.
#include "app/engine/drop_rules.h"

#include <gtest/gtest.h>

namespace app::engine {
namespace {

TEST(DroppedFileNameTest, ExtensionIsComparedInLowerCase) {
  EXPECT_TRUE(IsDroppedMp3Name(u"C:\\music\\song.MP3"));
  EXPECT_TRUE(IsDroppedMp3Name(u"C:\\music\\song.Mp3"));
  EXPECT_TRUE(IsDroppedMp3Name(u"song.mp3"));
  EXPECT_FALSE(IsDroppedMp3Name(u"song.mp3x"));
  EXPECT_FALSE(IsDroppedMp3Name(u"song.mp3.txt"));
  EXPECT_FALSE(IsDroppedMp3Name(u"song.txt"));
  EXPECT_FALSE(IsDroppedMp3Name(u"C:\\dir.mp3\\song"));
  EXPECT_FALSE(IsDroppedMp3Name(u"mp3"));
}

TEST(FolderFileNameTest, FirstFourCharactersMustBeExactlyMp3OrMP3) {
  EXPECT_TRUE(IsFolderMp3Name(u"song.mp3"));
  EXPECT_TRUE(IsFolderMp3Name(u"song.MP3"));
  EXPECT_TRUE(IsFolderMp3Name(u"song.mp3x"));
  EXPECT_FALSE(IsFolderMp3Name(u"song.Mp3"));
  EXPECT_FALSE(IsFolderMp3Name(u"song.mP3"));
  EXPECT_FALSE(IsFolderMp3Name(u"song.mp"));
  EXPECT_FALSE(IsFolderMp3Name(u"song"));
  EXPECT_EQ(ExtensionOf(u"a.b\\c"), u"");
  EXPECT_EQ(ExtensionOf(u"a/b.c.d"), u".d");
}

TEST(FolderAlbumNameTest, NestedFoldersJoinWithASpace) {
  EXPECT_EQ(FolderAlbumName(u"", u"A"), u"A");
  EXPECT_EQ(FolderAlbumName(u"A", u"B"), u"A B");
  EXPECT_EQ(FolderAlbumName(u"A B", u"C.d"), u"A B C.d");
  EXPECT_EQ(LastPathComponent(u"C:\\x\\A"), u"A");
  EXPECT_EQ(LastPathComponent(u"C:\\x\\A\\"), u"A");
  EXPECT_EQ(LastPathComponent(u"C:\\x/A.b"), u"A.b");
  EXPECT_EQ(LastPathComponent(u"A"), u"A");
}

TEST(OutOfSpaceTextTest, FolderCountIsSetOffBySpaces) {
  EXPECT_EQ(OutOfSpaceText(u"Fit: ", 12, CountSeparator::kFile, u"."), u"Fit: 12.");
  EXPECT_EQ(OutOfSpaceText(u"Fit:", 0, CountSeparator::kFolder, u"."), u"Fit: 0 .");
}

TEST(FreeSpaceTest, ExactFitIsAllowedOneByteMoreIsNot) {
  EXPECT_FALSE(ExceedsFreeSpace(100, 60, 40));
  EXPECT_TRUE(ExceedsFreeSpace(100, 60, 41));
  EXPECT_TRUE(ExceedsFreeSpace(0, 0, 1));
  EXPECT_FALSE(ExceedsFreeSpace(0, 0, 0));
  EXPECT_TRUE(ExceedsFreeSpace(-1, 0, 0));
  // No wrap-around for huge sizes.
  EXPECT_TRUE(ExceedsFreeSpace(INT64_MAX, 10, UINT64_MAX - 5));
}

}  // namespace
}  // namespace app::engine
