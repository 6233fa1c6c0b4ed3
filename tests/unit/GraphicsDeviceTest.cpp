#include <gtest/gtest.h>

#include "app/GraphicsDevice.h"
#include "app/ScreenQuad.h"
#include "platform/HeadlessRenderDevice.h"
#include "platform/HeadlessWindow.h"

namespace vorlith {
namespace {

struct Fixture {
  HeadlessWindow window{1280, 1024};
  HeadlessRenderDevice* device = nullptr;

  std::unique_ptr<GraphicsDevice> Make(const StartupOptions& options, bool depth = true,
                                       bool createFails = false) {
    auto owned = std::make_unique<HeadlessRenderDevice>(&window);
    owned->SetCreateFails(createFails);
    device = owned.get();
    return std::make_unique<GraphicsDevice>(&window, std::move(owned), options, depth);
  }
};

StartupOptions Sizes(int ww, int wh, int fw, int fh, bool full = false) {
  StartupOptions o;
  o.windowWidth = ww, o.windowHeight = wh, o.fullScreenWidth = fw, o.fullScreenHeight = fh;
  o.fullScreen = full;
  return o;
}

void ExpectBackBuffer(const HeadlessRenderDevice& device, int width, int height) {
  int w = 0, h = 0;
  ASSERT_TRUE(device.GetBackBufferSize(w, h));
  EXPECT_EQ(w, width);
  EXPECT_EQ(h, height);
}

TEST(GraphicsDeviceTest, StartsWithTheCentredWindowOfTheWindowSize) {
  Fixture f;
  auto graphics = f.Make(Sizes(800, 600, 1024, 768));
  EXPECT_TRUE(graphics->IsReady());
  EXPECT_FALSE(graphics->IsFullScreen());
  EXPECT_TRUE(f.device->HasDepthBuffer());
  ExpectBackBuffer(*f.device, 800, 600);
  int x = 0, y = 0, w = 0, h = 0;
  f.window.GetPosition(x, y);
  f.window.GetClientSize(w, h);
  EXPECT_EQ(w, 800);
  EXPECT_EQ(h, 600);
  EXPECT_EQ(x, 240);
  EXPECT_EQ(y, 212);
}

TEST(GraphicsDeviceTest, FullScreenAtStartUsesTheFullScreenSize) {
  Fixture f;
  auto graphics = f.Make(Sizes(800, 600, 1024, 768, true));
  EXPECT_TRUE(graphics->IsFullScreen());
  EXPECT_TRUE(f.window.IsFullScreen());
  ExpectBackBuffer(*f.device, 1024, 768);
}

TEST(GraphicsDeviceTest, TwoSwitchesEndWhereTheyBegan) {
  Fixture f;
  auto graphics = f.Make(Sizes(800, 600, 1024, 768));
  graphics->SetFullScreen(true);
  EXPECT_TRUE(f.window.IsFullScreen());
  ExpectBackBuffer(*f.device, 1024, 768);
  graphics->SetFullScreen(true);  // already there: nothing happens
  EXPECT_EQ(f.device->GetResetCount(), 1);
  graphics->SetFullScreen(false);
  EXPECT_FALSE(f.window.IsFullScreen());
  ExpectBackBuffer(*f.device, 800, 600);
  int x = 0, y = 0;
  f.window.GetPosition(x, y);
  EXPECT_EQ(x, 240);
  EXPECT_EQ(y, 212);
}

TEST(GraphicsDeviceTest, UnusableSizesLeaveNoDevice) {
  for (const StartupOptions& o :
       {Sizes(0, 480, 640, 480), Sizes(-5, 480, 640, 480), Sizes(100000, 100000, 640, 480)}) {
    Fixture f;
    auto graphics = f.Make(o);
    EXPECT_FALSE(graphics->IsReady());
    EXPECT_FALSE(graphics->BeginScene());
    graphics->Present();  // harmless without a device
    graphics->SetFullScreen(true);
    EXPECT_EQ(f.device->GetPresentCount(), 0);
  }
  Fixture f;
  EXPECT_FALSE(f.Make(Sizes(640, 480, 640, 480), true, true)->IsReady());
}

TEST(GraphicsDeviceTest, ABadFullScreenSizeFailsOnlyTheSwitch) {
  Fixture f;
  auto graphics = f.Make(Sizes(800, 600, 0, 0));
  ASSERT_TRUE(graphics->IsReady());
  graphics->SetFullScreen(true);
  EXPECT_TRUE(graphics->IsFullScreen());
  graphics->SetFullScreen(false);
  ExpectBackBuffer(*f.device, 800, 600);
}

TEST(GraphicsDeviceTest, PresentFollowsTheLostAndNotResetStates) {
  Fixture f;
  auto graphics = f.Make(Sizes(800, 600, 1024, 768));
  graphics->Present();
  EXPECT_EQ(f.device->GetPresentCount(), 1);

  f.window.SetMinimized(true);  // nothing to present to: lost
  graphics->Present();
  graphics->Present();
  EXPECT_EQ(f.device->GetPresentCount(), 1);
  EXPECT_EQ(f.device->GetResetCount(), 0);

  f.window.SetMinimized(false);  // back: not reset until the next Present resets it
  EXPECT_EQ(f.device->TestCooperativeLevel(), RenderDevice::Status::NotReset);
  graphics->Present();
  EXPECT_EQ(f.device->GetResetCount(), 1);
  EXPECT_EQ(f.device->GetPresentCount(), 2);
  ExpectBackBuffer(*f.device, 800, 600);
  EXPECT_EQ(f.device->TestCooperativeLevel(), RenderDevice::Status::Ok);
}

TEST(GraphicsDeviceTest, AFailedResetSkipsPresentationUntilOneSucceeds) {
  Fixture f;
  auto graphics = f.Make(Sizes(800, 600, 1024, 768));
  f.device->ForceStatus(RenderDevice::Status::NotReset);
  f.device->SetResetFails(true);
  graphics->Present();
  graphics->Present();
  EXPECT_EQ(f.device->GetPresentCount(), 0);
  f.device->SetResetFails(false);
  graphics->Present();
  EXPECT_EQ(f.device->GetPresentCount(), 1);
  EXPECT_EQ(f.device->GetResetCount(), 1);
}

TEST(GraphicsDeviceTest, ClearCoversTheCurrentViewportAndDepthOnlyWhenAsked) {
  Fixture f;
  auto graphics = f.Make(Sizes(800, 600, 800, 600), false);
  ASSERT_TRUE(graphics->BeginScene());
  f.device->SetViewport(Viewport{200, 0, 600, 600, 0, 1});
  graphics->Clear(0xFF000000);
  ASSERT_EQ(f.device->GetClears().size(), 1u);
  EXPECT_EQ(f.device->GetClears()[0].viewport.x, 200);
  EXPECT_EQ(f.device->GetClears()[0].viewport.width, 600);
  EXPECT_FALSE(f.device->GetClears()[0].depth);
  graphics->EndScene();

  Fixture g;
  auto withDepth = g.Make(Sizes(800, 600, 800, 600), true);
  ASSERT_TRUE(withDepth->BeginScene());
  withDepth->Clear(0xFF000000);
  EXPECT_TRUE(g.device->GetClears()[0].depth);
}

TEST(GraphicsDeviceTest, Begin2DCoversTheWholeBackBufferWithoutDepthTest) {
  Fixture f;
  auto graphics = f.Make(Sizes(1024, 768, 1024, 768));
  f.device->SetViewport(Viewport{10, 20, 30, 40, 0.5f, 0.7f});
  ScreenQuad quad;
  quad.Init(graphics->GetDevice());
  quad.Begin2D();
  const Viewport v = f.device->GetViewport();
  EXPECT_EQ(v.x, 0);
  EXPECT_EQ(v.y, 0);
  EXPECT_EQ(v.width, 1024);
  EXPECT_EQ(v.height, 768);
  EXPECT_FLOAT_EQ(v.minZ, 0.0f);
  EXPECT_FLOAT_EQ(v.maxZ, 1.0f);
  EXPECT_FALSE(f.device->IsDepthTestOn());
}

}  // namespace
}  // namespace vorlith
