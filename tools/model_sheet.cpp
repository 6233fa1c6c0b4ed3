// Renders every model of a directory with the game's camera and light into one PNG, each
// named by its file name under it:
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
#include "graphics/TextFont.h"
#include "graphics/Transforms.h"
#include "platform/PngFile.h"
#include "platform/gl/GlRenderDevice.h"
#include "platform/gl/GlSdlContext.h"
#include "platform/headless/StderrDialogs.h"

namespace {

using vorlith::Model;

struct Pose {
  float x, y, rotY, rotZ;
};

struct Place {
  std::vector<Pose> poses;
  // Where the file name goes: its top centre, in plane units (one label for each).
  std::vector<std::pair<float, float>> labels;
};

// Four poses of one model in two rows of two about (x, y), `step` apart, with its name below.
Place Square(float x, float y, float step, const float (&rotY)[4], const float (&rotZ)[4]) {
  Place place;
  for (int i = 0; i < 4; ++i) {
    place.poses.push_back(
        {x + step * (i % 2 ? 0.5f : -0.5f), y + step * (i / 2), rotY[i], rotZ[i]});
  }
  place.labels = {{x, y + step + 4.5f}};
  return place;
}

// Four poses of a small model in a row about (x, y), with its name below.
Place Row(float x, float y, float step) {
  Place place;
  for (int i = 0; i < 4; ++i) place.poses.push_back({x + step * (i - 1.5f), y, 0, 0});
  place.labels = {{x, y + 3.0f}};
  return place;
}

constexpr int kLabelHeight = 13;
constexpr float kUpright[4] = {0, 0, 0, 0};
constexpr float kTurns[4] = {0, 90, 180, 315};
constexpr float kEnemyTurns[4] = {180, 0, 90, 225};
constexpr float kSpins[4] = {0, 45, 80, 135};

// Where the game's own models stand: the frame lines where the stage puts them, the boss at
// the top facing down, then rows of the others in several poses, each named under it.
const std::map<std::string, Place> kLayout = {
    {"axis_x", {{{50, 0, 0, 0}, {50, 100, 0, 0}}, {{50, 101.5f}}}},
    {"axis_y", {{{0, 50, 0, 0}, {100, 50, 0, 0}}, {{0, 101.5f}, {100, 101.5f}}}},
    {"boss0", {{{50, 16, 0, 180}}, {{50, 25}}}},
    {"myship", Square(17, 35, 9, kUpright, kTurns)},
    {"enemy", Square(50, 35, 9, kUpright, kEnemyTurns)},
    {"enemy_blue", Square(83, 35, 9, kUpright, kEnemyTurns)},
    {"item_blue", Square(30, 61, 9, kSpins, kUpright)},
    {"laser_sign", Square(70, 61, 9, kUpright, kTurns)},
    {"bullet_small_blue", Row(27, 85, 4.5f)},
    {"bullet_small_green", Row(73, 85, 4.5f)},
};

Place PlaceOf(const std::string& name, int& unknownIndex) {
  const auto found = kLayout.find(name);
  if (found != kLayout.end()) return found->second;
  // Anything else goes in a row below the field.
  const float x = 24.0f * static_cast<float>(unknownIndex++ % 5);
  return {{{x, 110.0f, 0, 0}}, {{x, 114.0f}}};
}

// The file name of each model, centred under it in back-buffer pixels: the plane's 100 units
// are 320 pixels of the 640 x 480 picture, from (240, 80), times the scale.
void DrawLabel(vorlith::TextFont& font, const std::string& text, std::pair<float, float> at,
               int scale) {
  const int x = static_cast<int>((240.0f + 3.2f * at.first) * static_cast<float>(scale));
  const int top = static_cast<int>((80.0f + 3.2f * at.second) * static_cast<float>(scale));
  font.DrawText(text.c_str(), x, top + kLabelHeight * scale / 2, 0xFFD0D0D0, vorlith::Center);
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

  std::unique_ptr<vorlith::RenderDevice> device =
      vorlith::GlRenderDevice::Open(vorlith::GlSdlContext::Open(nullptr));
  if (!device || !device->Create(640 * scale, 480 * scale, true)) {
    std::fprintf(stderr, "no OpenGL 3.3 device\n");
    return 1;
  }
  vorlith::StderrDialogs dialogs;
  vorlith::TextFont font;
  // 13 pixels a step: the default face's underscore lies just below its line, and at some
  // sizes (12, 16, 28, ...) the rasteriser cuts it off; at 13 x N it shows.
  font.Create(device.get(), dialogs, kLabelHeight * scale);
  std::vector<std::unique_ptr<Model>> models;
  for (const std::string& path : paths) {
    models.push_back(std::make_unique<Model>(path.c_str()));
    if (!models.back()->Load(device.get()))
      std::fprintf(stderr, "%s: does not load\n", path.c_str());
  }

  device->BeginScene();
  vorlith::SetHudViewport(device.get());
  device->Clear(0xFF323232, true);
  vorlith::SetupPlayfieldScene(device.get());
  device->Clear(0xFF000000, true);
  int unknownIndex = 0;
  for (std::size_t i = 0; i < models.size(); ++i) {
    const std::filesystem::path path(paths[i]);
    const Place place = PlaceOf(path.stem().string(), unknownIndex);
    for (const Pose& pose : place.poses) {
      models[i]->DrawAt(pose.x, pose.y, 0.0f, 0.0f, pose.rotY, pose.rotZ, 1.0f);
    }
    for (const auto& at : place.labels) {
      DrawLabel(font, path.filename().string(), at, scale);
    }
  }
  device->EndScene();

  std::vector<std::uint8_t> rgba;
  int width = 0, height = 0;
  const bool read = device->ReadBackBuffer(rgba, width, height);
  models.clear();
  if (!read) return 1;
  for (std::size_t i = 3; i < rgba.size(); i += 4) rgba[i] = 255;
  if (!vorlith::WritePng(args[0], rgba, width, height)) {
    std::fprintf(stderr, "cannot write %s\n", args[0].c_str());
    return 1;
  }
  return 0;
}
