#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/OutputFile.h"

namespace vorlith {

// What one frame looked like, as a trace line reports it.
struct TraceFrame {
  struct Ship {
    float x = 0, y = 0;
    int hp = 0, hpMax = 0, shotInterval = 0;
    bool finished = false;
  };
  struct Boss {
    float x = 0, y = 0;
    int hp = 0, phase = 0, age = 0;
    bool inPlay = false, finished = false;
  };

  std::int64_t frame = 0;
  int scene = 1;
  int stage = 1;
  std::uint32_t score = 0;
  int fps = 0;
  std::optional<int> time;  // the stage clock; empty while no stage runs
  std::optional<Ship> ship;
  std::optional<Boss> boss;
  int enemies = 0, bullets = 0, items = 0;
  int kills = 0;
  int combo = 0;
  char request = 0;
  std::vector<std::pair<std::string, std::string>> messages;  // caption, text
  std::vector<int> sounds;
};

// Writes one JSON object per frame, one per line; each line reaches the file when written.
class TraceWriter {
 public:
  TraceWriter() = default;
  TraceWriter(const TraceWriter&) = delete;
  TraceWriter& operator=(const TraceWriter&) = delete;

  // False with `error` naming the file and the reason when it cannot be created.
  bool Open(const std::string& path, std::string& error) { return file.Open(path, error); }
  void Write(const TraceFrame& frame);
  // False when any write, the flush or the close failed (already reported on stderr).
  bool Close() { return file.Close(); }

  static std::string Format(const TraceFrame& frame);

 private:
  OutputFile file{"trace"};
};

}  // namespace vorlith
