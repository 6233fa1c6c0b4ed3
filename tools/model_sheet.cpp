// Renders every model of a directory with the game's camera and light into one PNG:
//   model_sheet [--scale N] <out.png> [model directory, default ./model]
// With scale 1 the picture is the game's 640 x 480 back buffer (models at game scale); a
// larger scale renders the same scene with N times the pixels, for a closer look.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "graphics/Model.h"
#include "graphics/Transforms.h"
#include "platform/PngFile.h"
#include "platform/gl/GlRenderDevice.h"

namespace {

using vorlith::Model;

struct Pose {
  float x, y, rotY, rotZ;
};

// Where the game's own models stand: the frame lines where the stage puts them, the boss at
// the top facing down, each other model in its column in four poses down the field.
const std::map<std::string, std::vector<Pose>> kLayout = {
    {"axis_x", {{50, 0, 0, 0}, {50, 100, 0, 0}}},
    {"axis_y", {{0, 50, 0, 0}, {100, 50, 0, 0}}},
    {"boss0", {{50, 16, 0, 180}}},
    {"myship", {{8, 45, 0, 0}, {8, 60, 0, 90}, {8, 75, 0, 180}, {8, 90, 0, 315}}},
    {"enemy", {{22, 45, 0, 180}, {22, 60, 0, 0}, {22, 75, 0, 90}, {22, 90, 0, 225}}},
    {"enemy_blue", {{36, 45, 0, 180}, {36, 60, 0, 0}, {36, 75, 0, 90}, {36, 90, 0, 225}}},
    {"item_blue", {{50, 45, 0, 0}, {50, 60, 45, 0}, {50, 75, 80, 0}, {50, 90, 135, 0}}},
    {"laser_sign", {{64, 45, 0, 0}, {64, 60, 0, 0}, {64, 75, 0, 0}, {64, 90, 0, 0}}},
    {"bullet_small_blue", {{76, 45, 0, 0}, {76, 60, 0, 0}, {76, 75, 0, 0}, {76, 90, 0, 0}}},
    {"bullet_small_green", {{88, 45, 0, 0}, {88, 60, 0, 0}, {88, 75, 0, 0}, {88, 90, 0, 0}}},
};

std::vector<Pose> PosesFor(const std::string& name, int& unknownIndex) {
  const auto found = kLayout.find(name);
  if (found != kLayout.end()) return found->second;
  // Anything else goes in a row below the field.
  const float x = -15.0f + 12.0f * static_cast<float>(unknownIndex++ % 12);
  return {{x, 115.0f, 0, 0}};
}

}  // namespace

int main(int argc, char** argv) {
  int scale = 1;
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() >= 2 && args[0] == "--scale") {
    scale = std::clamp(std::atoi(args[1].c_str()), 1, 8);
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty() || args.size() > 2) {
    std::fprintf(stderr, "usage: %s [--scale N] <out.png> [model directory]\n", argv[0]);
    return 2;
  }
  const std::string directory = args.size() == 2 ? args[1] : "./model";
  std::vector<std::string> paths;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(directory, error)) {
    const std::string extension = entry.path().extension().string();
    if (extension == ".x" || extension == ".X") paths.push_back(entry.path().string());
  }
  std::sort(paths.begin(), paths.end());
  if (paths.empty()) {
    std::fprintf(stderr, "no .x files in %s\n", directory.c_str());
    return 1;
  }

  std::unique_ptr<vorlith::RenderDevice> device = vorlith::CreateGlRenderDeviceOn(nullptr);
  if (!device || !device->Create(640 * scale, 480 * scale, true)) {
    std::fprintf(stderr, "no OpenGL 3.3 device\n");
    return 1;
  }
  vorlith::SetGraphicsDevice(device.get());
  std::vector<std::unique_ptr<Model>> models;
  for (const std::string& path : paths) {
    models.push_back(std::make_unique<Model>(path.c_str()));
    if (!models.back()->Load()) std::fprintf(stderr, "%s: does not load\n", path.c_str());
  }

  device->BeginScene();
  vorlith::SetHudViewport();
  device->Clear(0xFF323232, true);
  vorlith::SetupPlayfieldScene();
  device->Clear(0xFF000000, true);
  int unknownIndex = 0;
  for (std::size_t i = 0; i < models.size(); ++i) {
    const std::string name = std::filesystem::path(paths[i]).stem().string();
    for (const Pose& pose : PosesFor(name, unknownIndex)) {
      models[i]->DrawAt(pose.x, pose.y, 0.0f, 0.0f, pose.rotY, pose.rotZ, 1.0f);
    }
  }
  device->EndScene();

  std::vector<std::uint8_t> rgba;
  int width = 0, height = 0;
  const bool read = device->ReadBackBuffer(rgba, width, height);
  models.clear();
  vorlith::SetGraphicsDevice(nullptr);
  if (!read) return 1;
  for (std::size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
  if (!vorlith::WritePng(args[0], rgba, width, height)) {
    std::fprintf(stderr, "cannot write %s\n", args[0].c_str());
    return 1;
  }
  return 0;
}
