#include "replay/ReplayScript.h"

#include <algorithm>

#include "input/PadState.h"
#include "replay/ReplayParser.h"

namespace vorlith {
namespace {

constexpr char kLetters[] = "UDLRZXCV";

}  // namespace

ReplayControls ControlsFromPad(const PadState& pad) {
  const bool held[8] = {pad.up != 0,         pad.down != 0,       pad.left != 0,
                        pad.right != 0,      pad.buttons[0] != 0, pad.buttons[1] != 0,
                        pad.buttons[2] != 0, pad.buttons[3] != 0};
  ReplayControls controls = 0;
  for (int i = 0; i < 8; ++i) {
    if (held[i]) controls |= static_cast<ReplayControls>(1u << i);
  }
  return controls;
}

std::string ControlsToText(ReplayControls controls) {
  std::string text;
  for (int i = 0; i < 8; ++i) {
    if (controls & (1u << i)) text += kLetters[i];
  }
  return text.empty() ? "-" : text;
}

bool ReplayScript::Parse(std::istream& in, std::string& error, std::size_t maxRuns) {
  runs.clear();
  frameCount = 0;
  ReplayParser parser(in);
  ReplayRun run;
  while (parser.Next(run, error)) {
    if (runs.empty() || runs.back().controls != run.controls) {
      if (runs.size() == maxRuns) {
        error = parser.LineError("more than " + std::to_string(maxRuns) +
                                 " changes of controls to hold in memory");
        return false;
      }
      runs.push_back({frameCount, run.controls});
    }
    frameCount += run.count;
  }
  return error.empty();
}

ReplayControls ReplayScript::GetControls(std::int64_t frame) const {
  if (frame < 0 || frame >= frameCount) return 0;
  auto run = std::upper_bound(runs.begin(), runs.end(), frame,
                              [](std::int64_t f, const Run& r) { return f < r.firstFrame; });
  return std::prev(run)->controls;
}

}  // namespace vorlith
