#include <gtest/gtest.h>

#include "FakeRenderDevice.h"
#include "graphics/LineDrawer.h"

namespace vorlith {
namespace {

// A gauge draws its points untextured with its options once created; the 101st point and
// points set outside the line are refused.
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
  EXPECT_EQ(std::tuple(line.width, line.argb, line.antialias, line.texture),
            std::tuple(10.0f, 0xFF6464FFu, true, 0u));

  for (int i = 2; i < 100; ++i) ASSERT_TRUE(gauge.AddPoint({static_cast<float>(i), 0}));
  EXPECT_FALSE(gauge.AddPoint({1000, 1000}));
  gauge.SetPoint(100, 5, 5);  // outside: ignored
  gauge.SetPoint(-1, 5, 5);
  gauge.Draw(0xFFFFFFFF);
  ASSERT_EQ(device.polylines.size(), 2u);
  EXPECT_EQ(device.polylines[1].xy.size(), 200u);
  EXPECT_EQ(device.polylines[1].xy[198], 99.0f);
}

}  // namespace
}  // namespace vorlith
