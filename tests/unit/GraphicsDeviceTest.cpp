#include <gtest/gtest.h>

#include "FakeRenderDevice.h"
#include "FakeWindow.h"
#include "app/GraphicsDevice.h"

namespace vorlith {
namespace {

// A graphics device on a 1280 x 1024 desktop.
struct Fixture {
  FakeWindow window{1280, 1024};
  FakeRenderDevice* device = nullptr;
  std::unique_ptr<GraphicsDevice> graphics;

  explicit Fixture(int ww, int wh, int fw, int fh, bool full = false, bool depth = true,
                   bool createFails = false) {
    const StartupOptions o{ww, wh, fw, fh, full};
    auto owned = std::make_unique<FakeRenderDevice>(&window);
    owned->createFails = createFails;
    device = owned.get();
    graphics = std::make_unique<GraphicsDevice>(&window, std::move(owned), o, depth);
  }

  // Full screen with the back buffer given, or the centred window of that size.
  void ExpectMode(bool full, int width, int height) const {
    int w = 0, h = 0, x = 0, y = 0;
    ASSERT_TRUE(device->GetBackBufferSize(w, h));
    EXPECT_EQ(std::tuple(w, h, window.fullScreen, graphics->IsFullScreen()),
              std::tuple(width, height, full, full));
    if (full) return;
    window.GetClientSize(w, h);
    window.GetPosition(x, y);
    EXPECT_EQ(std::vector({x, y, w, h}),
              std::vector({(1280 - width) / 2, (1024 - height) / 2, width, height}));
  }
};

TEST(GraphicsDeviceTest, WindowAndFullScreenSwitchBackAndForth) {
  Fixture f(800, 600, 1024, 768);
  ASSERT_TRUE(f.graphics->IsReady());
  ASSERT_TRUE(f.graphics->BeginScene());
  f.graphics->Clear(0xFF000000);  // colour and depth
  f.graphics->EndScene();
  EXPECT_TRUE(f.device->depthBuffer && f.device->clears.at(0).depth);
  f.ExpectMode(false, 800, 600);
  f.graphics->SetFullScreen(true);
  f.ExpectMode(true, 1024, 768);
  f.graphics->SetFullScreen(true);  // already there: nothing happens
  EXPECT_EQ(f.device->resetCount, 1);
  f.graphics->SetFullScreen(false);
  f.ExpectMode(false, 800, 600);

  Fixture atStart(800, 600, 1024, 768, true);
  atStart.ExpectMode(true, 1024, 768);
}

TEST(GraphicsDeviceTest, UnusableSizesLeaveNoDeviceAndABadFullScreenSizeOnlyFailsTheSwitch) {
  for (int width : {0, -5, 100000}) {
    Fixture f(width, 480, 640, 480);
    EXPECT_FALSE(f.graphics->IsReady());
    EXPECT_FALSE(f.graphics->BeginScene());
    f.graphics->Present();  // harmless without a device
    f.graphics->SetFullScreen(true);
    EXPECT_EQ(f.device->presentCount, 0);
  }
  EXPECT_FALSE(Fixture(640, 480, 640, 480, false, true, true).graphics->IsReady());

  Fixture f(800, 600, 0, 0);
  ASSERT_TRUE(f.graphics->IsReady());
  f.graphics->SetFullScreen(true);
  f.graphics->SetFullScreen(false);
  f.ExpectMode(false, 800, 600);
}

TEST(GraphicsDeviceTest, PresentFollowsTheLostAndNotResetStates) {
  Fixture f(800, 600, 1024, 768, false, false);  // without a depth buffer
  ASSERT_TRUE(f.graphics->BeginScene());
  f.graphics->Clear(0xFF000000);
  f.graphics->EndScene();
  EXPECT_FALSE(f.device->depthBuffer || f.device->clears.at(0).depth);
  f.graphics->Present();
  EXPECT_EQ(f.device->presentCount, 1);
  f.window.minimized = true;  // nothing to present to: lost
  f.graphics->Present();
  f.graphics->Present();
  EXPECT_EQ(f.device->presentCount, 1);
  EXPECT_EQ(f.device->resetCount, 0);
  f.window.minimized = false;  // back: not reset until a Present resets it
  EXPECT_EQ(f.device->TestCooperativeLevel(), RenderDevice::Status::NotReset);
  f.device->resetFails = true;  // a failed reset skips presentation until one succeeds
  f.graphics->Present();
  EXPECT_EQ(f.device->presentCount, 1);
  f.device->resetFails = false;
  f.graphics->Present();
  EXPECT_EQ(f.device->resetCount, 1);
  EXPECT_EQ(f.device->presentCount, 2);
  EXPECT_EQ(f.device->TestCooperativeLevel(), RenderDevice::Status::Ok);
  f.ExpectMode(false, 800, 600);
}

}  // namespace
}  // namespace vorlith
