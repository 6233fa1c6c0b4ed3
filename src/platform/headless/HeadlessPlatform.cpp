#include "platform/headless/HeadlessPlatform.h"

#include "platform/headless/HeadlessInputDevices.h"
#include "platform/headless/HeadlessRenderDevice.h"
#include "platform/headless/HeadlessWindow.h"
#include "platform/headless/SilentAudioSystem.h"
#include "platform/headless/StderrDialogs.h"

namespace vorlith {

std::unique_ptr<Platform> MakeHeadlessPlatform(std::unique_ptr<Clock> clock) {
  auto platform = std::make_unique<Platform>();
  platform->window = std::make_unique<HeadlessWindow>();
  platform->dialogs = std::make_unique<StderrDialogs>();
  platform->clock = std::move(clock);
  platform->audioSystem = std::make_unique<SilentAudioSystem>();
  platform->inputDevices = std::make_unique<HeadlessInputDevices>();
  platform->makeRenderDevice = [] { return std::make_unique<HeadlessRenderDevice>(); };
  return platform;
}

std::unique_ptr<Dialogs> CreateStderrDialogs() {
  return std::make_unique<StderrDialogs>();
}

}  // namespace vorlith
