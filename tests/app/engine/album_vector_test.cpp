// The album vector: unique album names and appends that do not repeat.
#include <gtest/gtest.h>

#include "tests/app/engine/engine_test_support.h"

namespace enginetest {
namespace {

using AlbumVectorTest = EngineTest;

std::u16string Unique(const app::engine::AlbumVector& albums, std::u16string name,
                      bool expectChanged = true) {
  EXPECT_EQ(albums.GetUniqueAlbumName(name), expectChanged);
  return name;
}

TEST_F(AlbumVectorTest, NameNoAlbumHasStaysAsItIs) {
  albums.Append({1, u"Live", 0});
  EXPECT_EQ(Unique(albums, u"Jazz", false), u"Jazz");
  EXPECT_EQ(Unique(albums, u"live", false), u"live");    // exact comparison
  EXPECT_EQ(Unique(albums, u"Live ", false), u"Live ");  // length counts
}

TEST_F(AlbumVectorTest, TakenNameGetsTheFirstFreeNumber) {
  albums.Append({1, u"Live", 0});
  EXPECT_EQ(Unique(albums, u"Live"), u"Live(1)");
  albums.Append({2, u"Live(1)", 0});
  EXPECT_EQ(Unique(albums, u"Live"), u"Live(2)");
  albums.Append({3, u"Live(3)", 0});
  EXPECT_EQ(Unique(albums, u"Live"), u"Live(2)");
}

TEST_F(AlbumVectorTest, NumberedNameRestartsFromTheTextBeforeItsParenthesis) {
  albums.Append({1, u"Live(3)", 0});
  EXPECT_EQ(Unique(albums, u"Live(3)"), u"Live(1)");
  albums.Append({2, u"Rock ( 1 )", 0});
  EXPECT_EQ(Unique(albums, u"Rock ( 1 )"), u"Rock (1)");
  EXPECT_TRUE(logged("GetUniqueAlbumName: loc1=5, loc2=9, prefix=Rock "));
}

TEST_F(AlbumVectorTest, OneParenthesisAloneKeepsTheWholeName) {
  albums.Append({1, u"Li(ve", 0});
  albums.Append({2, u"Li)ve", 0});
  EXPECT_EQ(Unique(albums, u"Li(ve"), u"Li(ve(1)");
  EXPECT_EQ(Unique(albums, u"Li)ve"), u"Li)ve(1)");
  // ")" before "(" still counts as both found.
  albums.Append({3, u"a)b(c", 0});
  EXPECT_EQ(Unique(albums, u"a)b(c"), u"a)b(1)");
}

TEST_F(AlbumVectorTest, AlbumWithEidZeroDoesNotCount) {
  albums.Append({0, u"Live", 0});
  EXPECT_EQ(Unique(albums, u"Live", false), u"Live");
}

TEST_F(AlbumVectorTest, AppendIfMissingAddsEachEidOnce) {
  EXPECT_TRUE(albums.AppendIfMissing(9, u"A"));
  EXPECT_FALSE(albums.AppendIfMissing(9, u"other name"));
  EXPECT_TRUE(albums.AppendIfMissing(10, u"A"));
  ASSERT_EQ(albums.Size(), 2u);
  EXPECT_EQ(albums.FindByEid(9)->name, u"A");
  EXPECT_EQ(albums.IndexOfEid(10), 1);
  EXPECT_EQ(albums.IndexOfEid(11), -1);
  EXPECT_FALSE(albums.FindByEid(11).has_value());
}

}  // namespace
}  // namespace enginetest
