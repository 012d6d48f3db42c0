#include "device/track_number_map.h"

#include <gtest/gtest.h>

namespace {

TEST(TrackNumberMap, HandsOutTheLowestFreeNumberFromOne) {
  device::TrackNumberMap map;
  map.reserve(1);
  map.reserve(3);
  EXPECT_EQ(map.allocate(), 2u);
  EXPECT_EQ(map.allocate(), 4u);
  map.reserve(5);
  EXPECT_EQ(map.allocate(), 6u);
  EXPECT_TRUE(map.inUse(5));
  EXPECT_FALSE(map.inUse(0));
  map.reserve(70000);  // beyond the map: ignored
  EXPECT_FALSE(map.inUse(70000));
}

TEST(TrackNumberMap, ReturnsZeroOnceAll65535AreInUse) {
  device::TrackNumberMap map;
  map.reserve(64);
  map.reserve(65535);
  for (uint32_t expected = 1; expected < 65535; ++expected) {
    if (expected == 64) continue;
    ASSERT_EQ(map.allocate(), expected);
  }
  EXPECT_EQ(map.allocate(), 0u);
  EXPECT_EQ(map.allocate(), 0u);
}

}  // namespace
