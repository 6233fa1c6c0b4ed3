#include "app/ScoreScreen.h"

#include <cstdio>

#include "graphics/TextFont.h"

namespace vorlith {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kPale = 0xFFB0C4FF;
constexpr std::uint32_t kChosen = 0xFFFFD040;
constexpr int kRowTop = 100, kRowHeight = 28;

bool Pressed(const PadState& pad, const PadState& before, int button) {
  return pad.buttons[button] && !before.buttons[button];
}

std::string Score(std::uint32_t score) {
  char text[16];
  std::snprintf(text, sizeof text, "%09u", score);
  return text;
}

}  // namespace

ScoreScreen::Action ScoreScreen::Update(const PadState& pad, const PadState& before,
                                        std::size_t entries) {
  if (Pressed(pad, before, kTableButton) || Pressed(pad, before, 1)) return Action::Back;
  if (pad.up && !before.up && selection > 0) --selection;
  if (pad.down && !before.down && selection + 1 < entries) ++selection;
  if (selection >= entries) selection = entries > 0 ? entries - 1 : 0;
  return Pressed(pad, before, 0) && entries > 0 ? Action::Watch : Action::None;
}

std::string ScoreScreen::Ordinal(int place) {
  const char* suffix = place == 1 ? "st" : place == 2 ? "nd" : place == 3 ? "rd" : "th";
  return std::to_string(place) + suffix;
}

std::string ScoreScreen::FormatRow(std::size_t place, const ScoreEntry& entry) {
  char text[128];
  std::snprintf(text, sizeof text, "%2zu  %s  stage %d  %7lld frames  %s", place,
                Score(entry.run.score).c_str(), static_cast<int>(entry.run.stage),
                static_cast<long long>(entry.run.frames), entry.date.c_str());
  return text;
}

void ScoreScreen::Draw(const TextFont& largeFont, const TextFont& font,
                       const std::vector<ScoreEntry>& table) const {
  largeFont.DrawText("High Scores", 240, 40, kWhite, TopLeft);
  if (table.empty()) font.DrawText("No runs yet.", 60, kRowTop, kPale, TopLeft);
  for (std::size_t i = 0; i < table.size(); ++i) {
    font.DrawText(FormatRow(i + 1, table[i]).c_str(), 60,
                  kRowTop + kRowHeight * static_cast<int>(i), i == selection ? kChosen : kWhite,
                  TopLeft);
  }
  font.DrawText("Up/Down: choose   Z: watch   H, X or Esc: back", 60, 420, kPale, TopLeft);
}

void ScoreScreen::DrawTitleLines(const TextFont& font, std::uint32_t best, const RunResult* lastRun,
                                 int lastPlace) {
  font.DrawText(("Best " + Score(best)).c_str(), 250, 210, kWhite, TopLeft);
  if (lastRun) {
    const std::string place = lastPlace > 0    ? ": " + Ordinal(lastPlace) + " place"
                              : lastPlace == 0 ? ": not among the ten best"
                                               : "";
    font.DrawText(("Last run " + Score(lastRun->score) + place).c_str(), 250, 235, kWhite, TopLeft);
  }
  font.DrawText("H key: high scores", 250, 300, kPale, TopLeft);
}

}  // namespace vorlith
