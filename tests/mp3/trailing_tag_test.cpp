#include <gtest/gtest.h>

#include "mp3/genre_table.h"
#include "mp3/id3v1_tag.h"
#include "tests/mp3/tag_builder.h"

namespace {

TEST(TrailingTag, FieldsEndAtTheirFirstZeroByteOrAfterThirtyBytes) {
  const auto tag = mp3test::TrailingTag("Title", std::string(30, 'A'), "Album", 0);
  const auto t = mp3::ParseId3v1Tag(tag.data());
  EXPECT_EQ(t.title, "Title");
  EXPECT_EQ(t.artist, std::string(30, 'A'));
  EXPECT_EQ(t.album, "Album");
  EXPECT_EQ(t.genre, "Blues");
}

TEST(TrailingTag, UnusedFieldsAndGenresOutsideTheTableAreEmpty) {
  auto tag = mp3test::TrailingTag("", "\xFF\xFF\xFFstill unused", "", 255);
  tag[63] = 0xFF;  // two 0xFF bytes are not enough to mark a field unused
  tag[64] = 0xFF;
  tag[65] = 'x';
  auto t = mp3::ParseId3v1Tag(tag.data());
  EXPECT_EQ(t.title, "");
  EXPECT_EQ(t.artist, "");
  EXPECT_EQ(t.album, "\xFF\xFFx");
  EXPECT_EQ(t.genre, "");
  tag[127] = 148;
  EXPECT_EQ(mp3::ParseId3v1Tag(tag.data()).genre, "");
  tag[127] = 147;
  EXPECT_EQ(mp3::ParseId3v1Tag(tag.data()).genre, "SynthPop");
}

TEST(TrailingTag, OnlyAnUpperCaseMarkHoldsTextsButAnyCaseMarksTheTag) {
  auto tag = mp3test::TrailingTag("Title", "Artist", "Album", 17);
  tag[0] = 't';
  tag[2] = 'g';
  EXPECT_TRUE(mp3::LooksLikeId3v1(tag.data()));
  EXPECT_EQ(mp3::ParseId3v1Tag(tag.data()).title, "");
  EXPECT_EQ(mp3::ParseId3v1Tag(tag.data()).genre, "");
  tag[1] = 'X';
  EXPECT_FALSE(mp3::LooksLikeId3v1(tag.data()));
}

TEST(GenreTable, HoldsTheExactSpellingsAtTheirIndices) {
  const std::pair<size_t, const char*> entries[] = {
      {0, "Blues"},           {17, "Rock"},       {29, "Jazz+Funk"},  {40, "AlternRock"},
      {67, "Psychadelic"},    {79, "Hard Rock"},  {80, "Folk"},       {82, "National folk"},
      {117, "Powder Ballad"}, {123, "A Capella"}, {133, "NegerPunk"}, {140, "Contemporary C"},
      {147, "SynthPop"},
  };
  for (const auto& [index, name] : entries) EXPECT_STREQ(mp3::GenreName(index), name) << index;
  EXPECT_EQ(mp3::GenreName(148), nullptr);
  for (size_t i = 0; i < mp3::kGenreCount; ++i) EXPECT_NE(mp3::GenreName(i), nullptr) << i;
}

}  // namespace
