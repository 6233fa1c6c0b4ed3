#include "app/Settings.h"

#include <cstring>
#include <functional>

#include "input/KeyNames.h"

namespace vorlith {
namespace {

std::string Trim(const std::string& text) {
  const char* space = " \t\r";
  const std::size_t first = text.find_first_not_of(space);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(space) - first + 1);
}

bool ReadYesNo(const std::string& value, bool& out) {
  if (value == "yes" || value == "no") {
    out = value == "yes";
    return true;
  }
  return false;
}

// Whole decimal numbers from `low` to `high`, nothing else.
bool ReadNumber(const std::string& value, int low, int high, int& out) {
  if (value.empty() || value.size() > 6) return false;
  int number = 0;
  for (char c : value) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  if (number < low || number > high) return false;
  out = number;
  return true;
}

// One or two names, separated by a comma, each known to `lookup` (which gives `none` for
// a name it does not know).
bool ReadPair(const std::string& value, const std::function<int(const std::string&)>& lookup,
              int none, Bindings::Pair& out) {
  const std::size_t comma = value.find(',');
  const std::string first = Trim(value.substr(0, comma));
  const std::string second = comma == std::string::npos ? "" : Trim(value.substr(comma + 1));
  Bindings::Pair pair = {lookup(first), none};
  if (pair[0] == none) return false;
  if (comma != std::string::npos) {
    pair[1] = lookup(second);
    if (pair[1] == none || pair[1] == pair[0]) return false;
  }
  out = pair;
  return true;
}

const char* YesNo(bool on) {
  return on ? "yes" : "no";
}

class Reader {
 public:
  Reader(const std::string& fileName, std::vector<std::string>& messages)
      : fileName(fileName), messages(messages) {}

  void Line(int number, const std::string& raw);
  void ResolveClashes();
  Settings settings;

 private:
  void Say(int line, const std::string& text) {
    messages.push_back(fileName + ":" + std::to_string(line) + ": " + text);
  }
  void Entry(int line, const std::string& key, const std::string& value);
  void Sound(int line, const std::string& key, const std::string& value);
  void Window(int line, const std::string& key, const std::string& value);
  void Binding(int line, const std::string& key, const std::string& value, bool keys);
  void ResolveClashes(bool keys);

  const std::string& fileName;
  std::vector<std::string>& messages;
  std::string section;
  bool sectionKnown = true;
  // The line that set each action's keys (buttons); 0 for the default.
  int keyLines[Bindings::kActionCount] = {};
  int buttonLines[Bindings::kActionCount] = {};
};

void Reader::Line(int number, const std::string& raw) {
  const std::string line = Trim(raw);
  if (line.empty() || line[0] == '#' || line[0] == ';') return;
  if (line[0] == '[') {
    section = line.back() == ']' ? Trim(line.substr(1, line.size() - 2)) : line;
    sectionKnown =
        section == "sound" || section == "keys" || section == "pad" || section == "window";
    if (!sectionKnown) Say(number, "unknown section " + line + "; its lines are ignored");
    return;
  }
  if (!sectionKnown) return;
  const std::size_t equals = line.find('=');
  if (equals == std::string::npos || section.empty()) {
    Say(number, "not a setting: " + line);
    return;
  }
  Entry(number, Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
}

void Reader::Entry(int line, const std::string& key, const std::string& value) {
  if (section == "sound") return Sound(line, key, value);
  if (section == "window") return Window(line, key, value);
  Binding(line, key, value, section == "keys");
}

void Reader::Sound(int line, const std::string& key, const std::string& value) {
  if (key == "volume") {
    if (!ReadNumber(value, 0, Settings::kMaxVolume, settings.volume)) {
      Say(line, "volume is a whole number from 0 to 100, not \"" + value + "\"; 100 is used");
    }
  } else if (key == "mute") {
    if (!ReadYesNo(value, settings.mute)) Say(line, "mute is yes or no; no is used");
  } else {
    Say(line, "unknown setting \"" + key + "\" in [sound]");
  }
}

void Reader::Window(int line, const std::string& key, const std::string& value) {
  const Settings defaults;
  if (key == "fullscreen") {
    if (!ReadYesNo(value, settings.fullScreen)) Say(line, "fullscreen is yes or no; no is used");
  } else if (key == "pause_when_unfocused") {
    if (!ReadYesNo(value, settings.pauseWhenUnfocused)) {
      Say(line, "pause_when_unfocused is yes or no; yes is used");
    }
  } else if (key == "width" || key == "height") {
    int& side = key == "width" ? settings.windowWidth : settings.windowHeight;
    if (!ReadNumber(value, 1, Settings::kMaxWindowSide, side)) {
      Say(line, key + " is a whole number from 1 to 16384, not \"" + value + "\"; " +
                    std::to_string(key == "width" ? defaults.windowWidth : defaults.windowHeight) +
                    " is used");
    }
  } else {
    Say(line, "unknown setting \"" + key + "\" in [window]");
  }
}

void Reader::Binding(int line, const std::string& key, const std::string& value, bool keys) {
  const int action = Bindings::ActionFromName(key.c_str(), key.size());
  if (action < 0) {
    Say(line, "unknown setting \"" + key + "\" in [" + section + "]");
    return;
  }
  const bool read = keys ? ReadPair(value, KeyNames::KeyFromName, KeyNames::kNoKey,
                                    settings.bindings.keys[action])
                         : ReadPair(value, KeyNames::ButtonFromName, KeyNames::kNoButton,
                                    settings.bindings.buttons[action]);
  if (!read) {
    const std::string fallback = keys ? Settings::KeysText(Bindings::DefaultKeys(action))
                                      : Settings::ButtonsText(Bindings::DefaultButtons(action));
    Say(line, std::string(keys ? "unknown key" : "unknown button") + " in \"" + value +
                  "\" (one or two names, separated by a comma); " + fallback + " is used");
    return;
  }
  (keys ? keyLines : buttonLines)[action] = line;
}

void Reader::ResolveClashes() {
  ResolveClashes(true);
  ResolveClashes(false);
}

// An entry from the file that shares a key with another action takes its default: the last
// in the file that clashes gives way first, until none does (the defaults never clash).
void Reader::ResolveClashes(bool keys) {
  int* lines = keys ? keyLines : buttonLines;
  Bindings& bindings = settings.bindings;
  for (bool changed = true; changed;) {
    changed = false;
    int first = -1, other = -1;
    for (int action = 0; action < Bindings::kActionCount; ++action) {
      if (lines[action] == 0) continue;
      for (int held : (keys ? bindings.keys : bindings.buttons)[action]) {
        const int clash =
            keys ? bindings.ActionOfKey(held, action) : bindings.ActionOfButton(held, action);
        if (clash < 0 || (first >= 0 && lines[action] <= lines[first])) continue;
        first = action;
        other = clash;
      }
    }
    if (first < 0) break;
    const Bindings::Pair fallback =
        keys ? Bindings::DefaultKeys(first) : Bindings::DefaultButtons(first);
    Say(lines[first],
        std::string(Bindings::ActionName(first)) + " shares a " + (keys ? "key" : "button") +
            " with " + Bindings::ActionName(other) + "; " +
            (keys ? Settings::KeysText(fallback) : Settings::ButtonsText(fallback)) + " is used");
    (keys ? bindings.keys : bindings.buttons)[first] = fallback;
    lines[first] = 0;
    changed = true;
  }
}

}  // namespace

float Settings::Gain() const {
  return mute ? 0.0f : static_cast<float>(volume) / kMaxVolume;
}

Settings Settings::Parse(const std::string& text, const std::string& fileName,
                         std::vector<std::string>& messages) {
  Reader reader(fileName, messages);
  std::size_t start = 0;
  for (int number = 1; start < text.size(); ++number) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    reader.Line(number, text.substr(start, end - start));
    start = end + 1;
  }
  reader.ResolveClashes();
  return reader.settings;
}

std::string Settings::KeysText(const Bindings::Pair& keys) {
  std::string text = KeyNames::KeyName(keys[0]);
  if (keys[1] != KeyNames::kNoKey) text += ", " + KeyNames::KeyName(keys[1]);
  return text;
}

std::string Settings::ButtonsText(const Bindings::Pair& buttons) {
  std::string text = KeyNames::ButtonName(buttons[0]);
  if (buttons[1] != KeyNames::kNoButton) text += ", " + KeyNames::ButtonName(buttons[1]);
  return text;
}

std::string Settings::ToText() const {
  std::string text =
      "# Vorlith's settings, written by the game (its options screen: O on the title).\n"
      "# Keys are SDL's key names, buttons SDL's controller button names; one or two each.\n"
      "\n[sound]\nvolume = " +
      std::to_string(volume) + "\nmute = " + YesNo(mute) + "\n\n[keys]\n";
  for (int action = 0; action < Bindings::kActionCount; ++action) {
    text +=
        std::string(Bindings::ActionName(action)) + " = " + KeysText(bindings.keys[action]) + "\n";
  }
  text += "\n[pad]\n";
  for (int action = 0; action < Bindings::kActionCount; ++action) {
    text += std::string(Bindings::ActionName(action)) + " = " +
            ButtonsText(bindings.buttons[action]) + "\n";
  }
  text += "\n[window]\nfullscreen = " + std::string(YesNo(fullScreen)) +
          "\nwidth = " + std::to_string(windowWidth) +
          "\nheight = " + std::to_string(windowHeight) +
          "\npause_when_unfocused = " + YesNo(pauseWhenUnfocused) + "\n";
  return text;
}

}  // namespace vorlith
