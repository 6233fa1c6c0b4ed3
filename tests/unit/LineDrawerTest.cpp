#include <gtest/gtest.h>

#include "RecordingRenderDevice.h"
#include "graphics/LineDrawer.h"

namespace vorlith {
namespace {

TEST(LineDrawerTest, GaugeDrawsItsPointsUntexturedWithItsOptions) {
  RecordingRenderDevice device;
  device.texture = 42;
  LineDrawer gauge;
  gauge.Create(&device, 1, 10.0f, true, false, 1.0f);
  ASSERT_TRUE(gauge.AddPoint({440, 380}));
  ASSERT_TRUE(gauge.AddPoint({440, 380 - 100}));
  gauge.SetPoint(1, 440, 380 - 70);
  gauge.Draw(0xFF6464FF);
  ASSERT_EQ(device.polylines.size(), 1u);
  const auto& line = device.polylines[0];
  EXPECT_EQ(line.xy, (std::vector<float>{440, 380, 440, 310}));
  EXPECT_EQ(line.width, 10.0f);
  EXPECT_EQ(line.argb, 0xFF6464FFu);
  EXPECT_TRUE(line.antialias);
  EXPECT_EQ(line.texture, 0u);

  // A value of 0 is two equal points, a negative one runs downward.
  gauge.SetPoint(1, 440, 380);
  gauge.Draw(0xFFFFFFFF);
  EXPECT_EQ(device.polylines[1].xy, (std::vector<float>{440, 380, 440, 380}));
}

TEST(LineDrawerTest, PointArrayIsAHardLimit) {
  RecordingRenderDevice device;
  LineDrawer line;
  line.Create(&device, 1, 1.0f, false, false, 1.0f);
  for (int i = 0; i < LineDrawer::kMaxPoints; ++i) {
    ASSERT_TRUE(line.AddPoint({static_cast<float>(i), 0}));
  }
  EXPECT_FALSE(line.AddPoint({1000, 1000}));
  EXPECT_EQ(line.GetPointCount(), 100);
  EXPECT_EQ(line.GetPoint(99).x, 99.0f);
  line.SetPoint(100, 5, 5);
  line.SetPoint(-1, 5, 5);
  line.Draw(0xFFFFFFFF);
  ASSERT_EQ(device.polylines.size(), 1u);
  EXPECT_EQ(device.polylines[0].xy.size(), 200u);
  EXPECT_EQ(device.polylines[0].xy[198], 99.0f);
}

TEST(LineDrawerTest, DrawsNothingWithoutADevice) {
  LineDrawer never;
  never.AddPoint({0, 0});
  never.AddPoint({10, 10});
  never.Draw(0xFFFFFFFF);  // not created: nothing happens
  never.Create(nullptr, 1, 10.0f, true, false, 1.0f);
  never.Draw(0xFFFFFFFF);
  EXPECT_EQ(never.GetPointCount(), 2);
}

}  // namespace
}  // namespace vorlith
