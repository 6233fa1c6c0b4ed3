#include "replay/ReplayScript.h"

#include <algorithm>

namespace vorlith {

bool ReplayScript::Parse(const ReplayBytes& next, std::string& error, std::size_t maxRuns) {
  runs.clear();
  frameCount = 0;
  ReplayParser parser(next);
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
  origin = parser.GetOrigin();
  return error.empty();
}

ReplayControls ReplayScript::GetControls(std::int64_t frame) const {
  if (frame < 0 || frame >= frameCount) return 0;
  auto run = std::upper_bound(runs.begin(), runs.end(), frame,
                              [](std::int64_t f, const Run& r) { return f < r.firstFrame; });
  return std::prev(run)->controls;
}

}  // namespace vorlith
