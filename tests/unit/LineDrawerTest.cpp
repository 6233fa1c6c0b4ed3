#include <gtest/gtest.h>

#include "FakeRenderDevice.h"
#include "graphics/LineDrawer.h"

namespace vorlith {
namespace {

TEST(LineDrawerTest, GaugeDrawsItsPointsUntexturedWithItsOptionsOnceCreated) {
  FakeRenderDevice device;
  device.texture = 42;
  LineDrawer gauge;
  ASSERT_TRUE(gauge.AddPoint({440, 380}));
  ASSERT_TRUE(gauge.AddPoint({440, 380 - 100}));
  gauge.Draw(0xFFFFFFFF);  // not created yet, then without a device: nothing drawn
  gauge.Create(nullptr, 1, 10.0f, true, false, 1.0f);
  gauge.Draw(0xFFFFFFFF);
  gauge.Create(&device, 1, 10.0f, true, false, 1.0f);
  gauge.SetPoint(1, 440, 380 - 70);
  gauge.Draw(0xFF6464FF);
  ASSERT_EQ(device.polylines.size(), 1u);
  const FakeRenderDevice::Polyline& line = device.polylines[0];
  EXPECT_EQ(line.xy, (std::vector<float>{440, 380, 440, 310}));
  EXPECT_EQ(line.width, 10.0f);
  EXPECT_EQ(line.argb, 0xFF6464FFu);
  EXPECT_TRUE(line.antialias);
  EXPECT_EQ(line.texture, 0u);
}

TEST(LineDrawerTest, The101stPointIsRefused) {
  FakeRenderDevice device;
  LineDrawer line;
  line.Create(&device, 1, 1.0f, false, false, 1.0f);
  for (int i = 0; i < 100; ++i) ASSERT_TRUE(line.AddPoint({static_cast<float>(i), 0}));
  EXPECT_FALSE(line.AddPoint({1000, 1000}));
  line.SetPoint(100, 5, 5);  // outside: ignored
  line.SetPoint(-1, 5, 5);
  line.Draw(0xFFFFFFFF);
  ASSERT_EQ(device.polylines.size(), 1u);
  EXPECT_EQ(device.polylines[0].xy.size(), 200u);
  EXPECT_EQ(device.polylines[0].xy[198], 99.0f);
}

}  // namespace
}  // namespace vorlith
