#include "replay/TraceWriter.h"

#include <cstdio>

#include "base/Utf8.h"

namespace vorlith {
namespace {

void AppendFloat(std::string& out, float value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f", static_cast<double>(value));
  out += text;
}

void AppendCodePoint(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | c >> 18);
    out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// A JSON string: bytes that are not UTF-8 become U+FFFD, one per byte, so every line parses.
void AppendString(std::string& out, const std::string& value) {
  out += '"';
  for (char32_t c : DecodeUtf8(value)) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
          out += escaped;
        } else {
          AppendCodePoint(out, c);
        }
    }
  }
  out += '"';
}

const char* Bool(bool value) {
  return value ? "true" : "false";
}

void AppendShip(std::string& out, const std::optional<TraceFrame::Ship>& ship) {
  if (!ship) {
    out += "null";
    return;
  }
  out += "{\"x\":";
  AppendFloat(out, ship->x);
  out += ",\"y\":";
  AppendFloat(out, ship->y);
  out += ",\"hp\":" + std::to_string(ship->hp) + ",\"hpMax\":" + std::to_string(ship->hpMax) +
         ",\"shotInterval\":" + std::to_string(ship->shotInterval) +
         ",\"finished\":" + Bool(ship->finished) + "}";
}

void AppendBoss(std::string& out, const std::optional<TraceFrame::Boss>& boss) {
  if (!boss) {
    out += "null";
    return;
  }
  out += "{\"x\":";
  AppendFloat(out, boss->x);
  out += ",\"y\":";
  AppendFloat(out, boss->y);
  out += ",\"hp\":" + std::to_string(boss->hp) + ",\"phase\":" + std::to_string(boss->phase) +
         ",\"age\":" + std::to_string(boss->age) + ",\"inPlay\":" + Bool(boss->inPlay) +
         ",\"finished\":" + Bool(boss->finished) + "}";
}

}  // namespace

void TraceWriter::Write(const TraceFrame& frame) {
  if (!file.IsOpen()) return;
  file.Write(Format(frame) + '\n');
  file.Flush();  // whoever follows the run (a test, a script) sees each frame as it ends
}

std::string TraceWriter::Format(const TraceFrame& frame) {
  std::string out =
      "{\"frame\":" + std::to_string(frame.frame) + ",\"scene\":" + std::to_string(frame.scene) +
      ",\"stage\":" + std::to_string(frame.stage) + ",\"score\":" + std::to_string(frame.score) +
      ",\"fps\":" + std::to_string(frame.fps) + ",\"time\":";
  out += frame.time ? std::to_string(*frame.time) : "null";
  out += ",\"ship\":";
  AppendShip(out, frame.ship);
  out += ",\"boss\":";
  AppendBoss(out, frame.boss);
  out += ",\"enemies\":" + std::to_string(frame.enemies) +
         ",\"bullets\":" + std::to_string(frame.bullets) +
         ",\"items\":" + std::to_string(frame.items) + ",\"kills\":" + std::to_string(frame.kills) +
         ",\"combo\":" + std::to_string(frame.combo) + ",\"request\":";
  AppendString(out, frame.request ? std::string(1, frame.request) : std::string());
  out += ",\"messages\":[";
  for (std::size_t i = 0; i < frame.messages.size(); ++i) {
    if (i) out += ',';
    out += '[';
    AppendString(out, frame.messages[i].first);
    out += ',';
    AppendString(out, frame.messages[i].second);
    out += ']';
  }
  out += "],\"sounds\":[";
  for (std::size_t i = 0; i < frame.sounds.size(); ++i) {
    if (i) out += ',';
    out += std::to_string(frame.sounds[i]);
  }
  out += "]}";
  return out;
}

}  // namespace vorlith
