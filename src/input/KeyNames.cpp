#include "input/KeyNames.h"

#include <cctype>
#include <iterator>

namespace vorlith {
namespace {

struct NamedKey {
  int code;
  const char* name;
};

// Letters and digits are added by code; these are the rest.
constexpr NamedKey kKeys[] = {
    {40, "Return"},      {42, "Backspace"},
    {43, "Tab"},         {44, "Space"},
    {45, "-"},           {46, "="},
    {47, "["},           {48, "]"},
    {49, "\\"},          {51, ";"},
    {52, "'"},           {53, "`"},
    {54, ","},           {55, "."},
    {56, "/"},           {57, "CapsLock"},
    {59, "F2"},          {60, "F3"},
    {61, "F4"},          {62, "F5"},
    {63, "F6"},          {64, "F7"},
    {65, "F8"},          {66, "F9"},
    {67, "F10"},         {68, "F11"},
    {69, "F12"},         {73, "Insert"},
    {74, "Home"},        {75, "PageUp"},
    {76, "Delete"},      {77, "End"},
    {78, "PageDown"},    {79, "Right"},
    {80, "Left"},        {81, "Down"},
    {82, "Up"},          {84, "Keypad /"},
    {85, "Keypad *"},    {86, "Keypad -"},
    {87, "Keypad +"},    {88, "Keypad Enter"},
    {89, "Keypad 1"},    {90, "Keypad 2"},
    {91, "Keypad 3"},    {92, "Keypad 4"},
    {93, "Keypad 5"},    {94, "Keypad 6"},
    {95, "Keypad 7"},    {96, "Keypad 8"},
    {97, "Keypad 9"},    {98, "Keypad 0"},
    {99, "Keypad ."},    {224, "Left Ctrl"},
    {225, "Left Shift"}, {226, "Left Alt"},
    {228, "Right Ctrl"}, {229, "Right Shift"},
    {230, "Right Alt"},
};

constexpr const char* kButtons[KeyNames::kButtonCount] = {"a",
                                                          "b",
                                                          "x",
                                                          "y",
                                                          "back",
                                                          "guide",
                                                          "start",
                                                          "leftstick",
                                                          "rightstick",
                                                          "leftshoulder",
                                                          "rightshoulder",
                                                          "dpup",
                                                          "dpdown",
                                                          "dpleft",
                                                          "dpright"};

bool SameName(const std::string& a, const char* b) {
  std::size_t i = 0;
  for (; i < a.size() && b[i]; ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return i == a.size() && !b[i];
}

}  // namespace

int KeyNames::KeyFromName(const std::string& name) {
  if (name.size() == 1) {
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
    if (c >= 'A' && c <= 'Z') return 4 + (c - 'A');
    if (c >= '1' && c <= '9') return 30 + (c - '1');
    if (c == '0') return 39;
  }
  for (const NamedKey& key : kKeys) {
    if (SameName(name, key.name)) return key.code;
  }
  return kNoKey;
}

std::string KeyNames::KeyName(int code) {
  if (code >= 4 && code <= 29) return std::string(1, static_cast<char>('A' + code - 4));
  if (code >= 30 && code <= 38) return std::string(1, static_cast<char>('1' + code - 30));
  if (code == 39) return "0";
  for (const NamedKey& key : kKeys) {
    if (key.code == code) return key.name;
  }
  return {};
}

int KeyNames::ButtonFromName(const std::string& name) {
  for (int i = 0; i < kButtonCount; ++i) {
    if (SameName(name, kButtons[i])) return i;
  }
  return kNoButton;
}

std::string KeyNames::ButtonName(int button) {
  if (button < 0 || button >= kButtonCount) return {};
  return kButtons[button];
}

}  // namespace vorlith
