#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "app/RunKeeper.h"
#include "input/PadState.h"

namespace vorlith {

class TextFont;

// The high score table on screen (up and down choose an entry, Z watches it, H, X or Esc
// go back to the title), and the title's lines about the table.
class ScoreScreen {
 public:
  enum class Action { None, Back, Watch };

  // One frame of the table screen: keys count when they go down (held in `pad`, not in
  // `before`, the previous frame's).
  Action Update(const PadState& pad, const PadState& before, std::size_t entries);
  std::size_t GetSelection() const { return selection; }
  void Draw(const TextFont& largeFont, const TextFont& font,
            const std::vector<ScoreEntry>& table) const;

  // The title's lines: the best score, the last run's score and its place (0: not in the
  // table; negative: no table is kept), and the key to the table.
  static void DrawTitleLines(const TextFont& font, std::uint32_t best, const RunResult* lastRun,
                             int lastPlace);
  // "1st", "2nd", "3rd", "4th" ... "10th".
  static std::string Ordinal(int place);
  // One line of the table: place, score, stage, frames and date.
  static std::string FormatRow(std::size_t place, const ScoreEntry& entry);

 private:
  std::size_t selection = 0;
};

}  // namespace vorlith
