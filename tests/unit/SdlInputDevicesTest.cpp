// Controllers on SDL without hardware: SDL's virtual joysticks are attached, moved and
// detached while the devices are in use, and read through KeyInput into pad 0.
#include <SDL.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <memory>

#include "FakeWindow.h"
#include "TestFiles.h"
#include "TestPlatform.h"
#include "input/KeyInput.h"
#include "input/KeyNames.h"
#include "platform/sdl/SdlControllerMappings.h"
#include "platform/sdl/SdlEventWait.h"
#include "platform/sdl/SdlInputDevices.h"
#include "platform/sdl/SdlWindow.h"
#include "replay/ReplayFormat.h"

namespace vorlith {
namespace {

TEST(SdlInputDevicesTest, AxesAreScaledToPlusMinusAThousand) {
  const std::pair<int, int> points[] = {{-32768, -1000}, {32767, 1000},  {0, 0},
                                        {16384, 500},    {-16384, -500}, {-6554, -200}};
  for (const auto& [sdl, scaled] : points) EXPECT_EQ(SdlControllerSet::ScaleAxis(sdl), scaled);
}

class VirtualControllerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(configHome / "vorlith");
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
  }
  void TearDown() override {
    input.reset();
    devices.reset();
    for (int i = SDL_NumJoysticks() - 1; i >= 0; --i) SDL_JoystickDetachVirtual(i);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
  }

  void Open() {
    devices = std::make_unique<SdlInputDevices>(&window);
    input = std::make_unique<KeyInput>(devices.get());
  }
  // A virtual joystick of the given kind; returns it opened, for setting its controls.
  SDL_Joystick* Attach(SDL_JoystickType type, const char* name, int buttons, int hats) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = static_cast<Uint16>(type);
    desc.naxes = 2;
    desc.nbuttons = static_cast<Uint16>(buttons);
    desc.nhats = static_cast<Uint16>(hats);
    desc.name = name;
    desc.vendor_id = 0x1234;  // mappings match a device by its maker and product
    desc.product_id = static_cast<Uint16>(0x100 + held.size());
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    EXPECT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* joystick = SDL_JoystickOpen(index);
    held.emplace_back(joystick, &SDL_JoystickClose);
    return joystick;
  }
  static std::string Guid(SDL_Joystick* joystick) {
    char text[40];
    SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(joystick), text, sizeof text);
    return text;
  }
  // One frame of the main loop: SDL pumps its events, then the game reads its pad.
  std::string Frame() {
    SDL_PumpEvents();
    input->Update();
    return ControlsToText(ControlsFromPad(*input->GetPad(0)));
  }
  const PadState& Pad() { return *input->GetPad(0); }

  const testing::ScratchFolder configHome{"vorlith-pad-config"};
  const testing::EnvironmentScope config{"XDG_CONFIG_HOME", configHome.c_str()};
  const testing::EnvironmentScope mappings{"SDL_GAMECONTROLLERCONFIG", nullptr};
  FakeWindow window;
  std::unique_ptr<SdlInputDevices> devices;
  std::unique_ptr<KeyInput> input;
  std::vector<std::unique_ptr<SDL_Joystick, void (*)(SDL_Joystick*)>> held;
};

// A controller that comes while the game runs works at once; one that goes is dropped; and
// when it comes back it works again. Stick values follow the scaling rule. The paused game
// waits without SDL's polling of the joysticks, yet Start still arrives; in the background
// nothing is read.
TEST_F(VirtualControllerTest, ControllersPluggedInOrOutWhileRunningAndWaiting) {
  Open();
  EXPECT_EQ(Frame(), "-");
  EXPECT_EQ(devices->GetControllerCount(), 0);

  SDL_Joystick* pad = Attach(SDL_JOYSTICK_TYPE_GAMECONTROLLER, "Hot Pad", 15, 0);
  SDL_JoystickSetVirtualAxis(pad, 1, -16384);  // -500: up, stick -0.5
  SDL_JoystickSetVirtualButton(pad, 1, 1);     // B
  EXPECT_EQ(Frame(), "UX");
  EXPECT_EQ(std::tuple(devices->GetControllerCount(), Pad().stickX, Pad().stickY),
            std::tuple(1, 0.0f, -0.5f));

  SDL_JoystickDetachVirtual(0);
  held.clear();
  EXPECT_EQ(Frame(), "-");
  EXPECT_EQ(devices->GetControllerCount(), 0);

  pad = Attach(SDL_JOYSTICK_TYPE_GAMECONTROLLER, "Hot Pad", 15, 0);
  SDL_JoystickSetVirtualAxis(pad, 0, 32767);
  EXPECT_EQ(Frame(), "R");
  EXPECT_FLOAT_EQ(Pad().stickX, 1.0f);

  SDL_Event event{};
  while (SDL_PollEvent(&event)) {
  }
  // Nothing arrives: the wait runs past one joystick step and ends at its timeout.
  const Uint32 waitStart = SDL_GetTicks();
  EXPECT_FALSE(SdlEventWait::Wait(event, SdlEventWait::kJoystickStepMs + 50));
  EXPECT_GE(SDL_GetTicks() - waitStart, Uint32{SdlEventWait::kJoystickStepMs + 50});
  SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_START, 1);
  bool start = false;
  while (!start && SdlEventWait::Wait(event, 500))
    start = event.type == SDL_CONTROLLERBUTTONDOWN &&
            event.cbutton.button == SDL_CONTROLLER_BUTTON_START;
  EXPECT_TRUE(start);
  EXPECT_TRUE(SDL_GetHintBoolean(SDL_HINT_AUTO_UPDATE_JOYSTICKS, SDL_FALSE));

  window.focused = false;
  EXPECT_EQ(Frame(), "-");
  KeyboardState keys;
  keys.held[29] = true;  // Z
  EXPECT_FALSE(devices->ReadKeyboard(keys));
  EXPECT_FALSE(keys.held[29]);
}

// SDL's own mapping of a virtual controller: A, B, X, Y are buttons 0 to 3, the D-pad
// buttons 11 to 14. The D-pad sets the directions as the arrows do, never the stick.
TEST_F(VirtualControllerTest, DpadAndFaceButtons) {
  Open();
  SDL_Joystick* pad = Attach(SDL_JOYSTICK_TYPE_GAMECONTROLLER, "Face Pad", 15, 0);
  EXPECT_EQ(Frame(), "-");  // opened: from now on its presses are events too
  const std::pair<int, const char*> presses[] = {{0, "Z"},  {1, "X"},  {2, "C"},  {3, "V"},
                                                 {11, "U"}, {12, "D"}, {13, "L"}, {14, "R"},
                                                 {6, "-"}};  // Start pauses: not a pad control
  for (const auto& [button, controls] : presses) {
    SDL_FlushEvent(SDL_CONTROLLERBUTTONDOWN);
    SDL_JoystickSetVirtualButton(pad, button, 1);
    EXPECT_EQ(Frame(), controls) << "button " << button;
    SDL_Event press{};  // what the window turns into a pause for Start
    ASSERT_EQ(SDL_PeepEvents(&press, 1, SDL_PEEKEVENT, SDL_CONTROLLERBUTTONDOWN,
                             SDL_CONTROLLERBUTTONDOWN),
              1);
    EXPECT_EQ(press.cbutton.button == SDL_CONTROLLER_BUTTON_START, button == 6);
    EXPECT_EQ(std::pair(Pad().stickX, Pad().stickY), std::pair(0.0f, 0.0f));
    SDL_JoystickSetVirtualButton(pad, button, 0);
  }
  EXPECT_EQ(Frame(), "-");
  Bindings bindings;  // fire on Back or the left shoulder, no longer on A
  bindings.buttons[Bindings::kFire] = {SDL_CONTROLLER_BUTTON_BACK,
                                       SDL_CONTROLLER_BUTTON_LEFTSHOULDER};
  input->SetBindings(bindings);
  for (const auto& [button, controls] : {std::pair(0, "-"), std::pair(4, "Z"), std::pair(9, "Z")}) {
    SDL_JoystickSetVirtualButton(pad, button, 1);
    EXPECT_EQ(Frame(), controls) << "button " << button;
    SDL_JoystickSetVirtualButton(pad, button, 0);
  }
}

// Mappings come from SDL_GAMECONTROLLERCONFIG and the player's file; bad lines are named on
// stderr and skipped. A joystick that no mapping names keeps its raw axes and buttons 0 to 3
// and its hat does nothing.
TEST_F(VirtualControllerTest, MappingsFromTheEnvironmentAndTheUserFile) {
  SDL_Joystick* fromEnvironment = Attach(SDL_JOYSTICK_TYPE_UNKNOWN, "Env Pad", 8, 1);
  SDL_Joystick* fromFile = Attach(SDL_JOYSTICK_TYPE_UNKNOWN, "File Pad", 8, 1);
  SDL_Joystick* plain = Attach(SDL_JOYSTICK_TYPE_UNKNOWN, "Plain Stick", 8, 1);
  const std::string mapping =
      ",a:b1,b:b0,x:b3,y:b2,start:b7,leftx:a0,lefty:a1,dpup:h0.1,dpright:h0.2,dpdown:h0.4,"
      "dpleft:h0.8,";
  setenv("SDL_GAMECONTROLLERCONFIG",
         ("garbage\n" + Guid(fromEnvironment) + ",Env Pad" + mapping).c_str(), 1);
  std::ofstream(configHome / "vorlith" / "gamecontrollerdb.txt")
      << "# the player's own mappings\r\n\n"
      << Guid(fromFile) << ",File Pad" << mapping << "platform:Linux,\r\n"
      << "03000000,\n"
      << Guid(plain) << ",Plain Stick" << mapping << "platform:Windows,\n";
  ::testing::internal::CaptureStderr();
  Open();
  const std::string errors = ::testing::internal::GetCapturedStderr();
  EXPECT_THAT(errors, ::testing::MatchesRegex("vorlith: SDL_GAMECONTROLLERCONFIG line 1: [^\n]*\n"
                                              "[^\n]*gamecontrollerdb.txt line 4: [^\n]*\n"));

  EXPECT_EQ(Frame(), "-");
  ASSERT_EQ(devices->GetControllerCount(), 3);
  for (SDL_Joystick* mapped : {fromEnvironment, fromFile}) {
    SDL_JoystickSetVirtualHat(mapped, 0, SDL_HAT_LEFTUP);
    SDL_JoystickSetVirtualButton(mapped, 1, 1);  // A in these mappings
    EXPECT_EQ(Frame(), "ULZ");
    EXPECT_FLOAT_EQ(Pad().stickX, 0.0f);
    SDL_JoystickSetVirtualHat(mapped, 0, SDL_HAT_CENTERED);
    SDL_JoystickSetVirtualButton(mapped, 1, 0);
  }
  SDL_JoystickSetVirtualHat(plain, 0, SDL_HAT_DOWN);
  SDL_JoystickSetVirtualButton(plain, 3, 1);
  SDL_JoystickSetVirtualButton(plain, 4, 1);
  SDL_JoystickSetVirtualAxis(plain, 0, -32768);
  EXPECT_EQ(Frame(), "LV");
  EXPECT_EQ(std::pair(Pad().stickX, devices->GetControllerCount()), std::pair(-1.0f, 3));
}

// The user's file is read only as a regular file of at most the limit, opened without waiting
// on a FIFO; the text SDL quotes from it reaches stderr escaped.
TEST_F(VirtualControllerTest, TheUserFileIsBoundedAndItsTextEscaped) {
  const std::string file = configHome / "vorlith" / "gamecontrollerdb.txt";
  const std::string line = Guid(Attach(SDL_JOYSTICK_TYPE_UNKNOWN, "Pad", 8, 1)) + ",Pad,a:b1,\n#";
  const auto add = [&] {
    ::testing::internal::CaptureStderr();
    const int added = SdlControllerMappings::AddFromFile(file);
    return std::make_pair(added, ::testing::internal::GetCapturedStderr());
  };
  std::string text = line;
  text.resize(SdlControllerMappings::kMaxFileBytes, 'x');
  std::ofstream(file, std::ios::binary) << text;
  EXPECT_EQ(add(), std::make_pair(1, std::string()));
  std::ofstream(file, std::ios::binary) << text << 'x';
  EXPECT_EQ(add(), std::make_pair(0, "vorlith: " + file + ": not read (4194305 bytes, more than " +
                                         "4194304)\n"));
  std::ofstream(file, std::ios::binary) << "\x1b[2J\xff,\n";
  const std::string quoted = add().second;
  EXPECT_EQ(quoted.find('\x1b'), std::string::npos) << quoted;
  EXPECT_NE(quoted.find("line 1: controller mapping skipped"), std::string::npos) << quoted;

  const std::string notRead = "vorlith: " + file + ": not read (not a regular file)\n";
  std::filesystem::remove(file);
  std::filesystem::create_symlink("/dev/zero", file);
  EXPECT_EQ(add(), std::make_pair(0, notRead));
  std::filesystem::remove(file);
  ASSERT_EQ(mkfifo(file.c_str(), 0600), 0);
  auto reading = std::async(std::launch::async, add);
  if (reading.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
    std::ofstream{file};  // a writer lets the blocked open go on
    ADD_FAILURE() << "waited on the FIFO";
  }
  EXPECT_EQ(reading.get(), std::make_pair(0, notRead));
  std::filesystem::remove(file);
  EXPECT_EQ(add(), std::make_pair(0, std::string()));  // no file: nothing to say
}

using Event = WindowEventType;

// How SDL's events become the window events the main loop acts on (SDL's offscreen video
// driver; the window's sizes and modes on a real X server are the end-to-end tests' part).
class SdlWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_VIDEO), 0) << SDL_GetError();
    ASSERT_TRUE(window.Create("Window test", "no-such-icon.ico"));
    window.ShowWindowed(320, 200);
    SDL_PumpEvents();  // nothing left from showing the window or from tests before
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  }
  void TearDown() override {
    window.Destroy();
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
  }

  // Events as SDL lays them out: type, time stamp, window, then the event's own fields.
  static void Push(SDL_Event event) { SDL_PushEvent(&event); }
  Uint32 Id() { return SDL_GetWindowID(window.GetSdlWindow()); }
  void PushKey(SDL_Keycode key, Uint16 mod = KMOD_NONE, bool repeat = false) {
    const SDL_Keysym keysym{SDL_GetScancodeFromKey(key), key, mod, 0};
    Push({.key = {SDL_KEYDOWN, 0, Id(), SDL_PRESSED, repeat, 0, 0, keysym}});
  }
  void PushWindowEvent(Uint8 what, int data1 = 0, int data2 = 0) {
    Push({.window = {SDL_WINDOWEVENT, 0, Id(), what, 0, 0, 0, data1, data2}});
  }
  void PushButtons() {  // Start, then B
    for (Uint8 button : {SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_BUTTON_B})
      Push({.cbutton = {SDL_CONTROLLERBUTTONDOWN, 0, 0, button, SDL_PRESSED, 0, 0}});
  }
  // The events the loop would see, up to the first time nothing waits.
  std::vector<Event> Drain() {
    std::vector<Event> seen;
    for (Event e = Next(); e != Event::None; e = Next()) seen.push_back(e);
    return seen;
  }
  Event Next() {
    WindowEvent event;
    return window.PollEvent(event) ? event.type : Event::None;
  }

  SdlWindow window;
};

TEST_F(SdlWindowTest, ShortcutsAndWindowEventsBecomeLoopEventsAndMaximizeNeverStays) {
  // No shortcut: Enter without Alt, repeats, other keys.
  const std::tuple<SDL_Keycode, Uint16, bool> keys[] = {
      {SDLK_ESCAPE, KMOD_NONE, false},   {SDLK_RETURN, KMOD_NONE, false},
      {SDLK_RETURN, KMOD_LALT, false},   {SDLK_RETURN, KMOD_LALT, true},
      {SDLK_KP_ENTER, KMOD_RALT, false}, {SDLK_F1, KMOD_NONE, false},
      {SDLK_F1, KMOD_NONE, true},        {SDLK_z, KMOD_NONE, false},
      {SDLK_p, KMOD_NONE, false},        {SDLK_p, KMOD_NONE, true}};
  for (const auto& [key, mod, repeat] : keys) PushKey(key, mod, repeat);
  PushButtons();
  for (Uint8 what :
       {SDL_WINDOWEVENT_CLOSE, SDL_WINDOWEVENT_EXPOSED, SDL_WINDOWEVENT_FOCUS_LOST,
        SDL_WINDOWEVENT_FOCUS_GAINED, SDL_WINDOWEVENT_MINIMIZED, SDL_WINDOWEVENT_RESTORED})
    PushWindowEvent(what);
  Push({.type = SDL_QUIT});
  EXPECT_EQ(Drain(),
            (std::vector<Event>{Event::Escape, Event::ToggleFullScreen, Event::ToggleFullScreen,
                                Event::Help, Event::Pause, Event::Pause, Event::Close,
                                Event::Expose, Event::FocusLost, Event::FocusGained, Event::Hidden,
                                Event::Shown, Event::Close}));
  // Rebound: Space and B pause, P and Start no longer.
  PauseControls pause;
  pause.keys[0] = SDL_SCANCODE_SPACE;
  pause.buttons[1] = SDL_CONTROLLER_BUTTON_B;
  pause.buttons[0] = -1;
  window.SetPauseControls(pause);
  PushKey(SDLK_p);
  PushKey(SDLK_SPACE);
  PushButtons();
  EXPECT_EQ(Drain(), (std::vector<Event>{Event::Pause, Event::Pause}));

  // A maximize is reported but never stays.
  PushWindowEvent(SDL_WINDOWEVENT_MAXIMIZED);
  EXPECT_EQ(Next(), Event::Maximize);
  EXPECT_EQ(SDL_GetWindowFlags(window.GetSdlWindow()) & SDL_WINDOW_MAXIMIZED, 0u);
  // Some window managers maximize by resizing the window to cover the screen, without a
  // maximized state: the same request. Smaller sizes (a window clamped to the screen) are not.
  int desktopWidth = 0, desktopHeight = 0;
  window.GetDesktopSize(desktopWidth, desktopHeight);
  Drain();
  PushWindowEvent(SDL_WINDOWEVENT_RESIZED, desktopWidth, desktopHeight);
  EXPECT_EQ(Drain(), std::vector<Event>{Event::Maximize}) << desktopWidth << "x" << desktopHeight;
  PushWindowEvent(SDL_WINDOWEVENT_RESIZED, desktopWidth - 1, desktopHeight);
  EXPECT_EQ(Drain(), std::vector<Event>{});
  window.ShowFullScreen();  // full screen may come with a maximized state: not a request
  Drain();
  PushWindowEvent(SDL_WINDOWEVENT_MAXIMIZED);
  PushWindowEvent(SDL_WINDOWEVENT_RESIZED, desktopWidth, desktopHeight);
  EXPECT_EQ(Drain(), std::vector<Event>{});
}

// Key positions as KeyboardState numbers them.
constexpr int kUp = 82, kDown = 81, kLeft = 80, kRight = 79, kZ = 29, kX = 27, kC = 6, kV = 25;
constexpr int kD = 7, kF = 9, kS = 22;

// Pad 0's directions and buttons 0 to 3 as the letters UDLRZXCV ("-" for none).
std::string Held(KeyInput& input) {
  return ControlsToText(ControlsFromPad(*input.GetPad(0)));
}

TEST(KeyInputTest, KeyboardMapsArrowsButtonsAndSecondPadAndClearsWhenReleased) {
  testing::HeldKeys devices;
  for (int key : {kUp, kDown, kRight, kZ, kV, kS}) devices.keys.held[key] = true;  // up wins
  KeyInput input(&devices);
  input.Update();
  const PadState& pad = *input.GetPad(0);
  EXPECT_EQ(std::tuple(Held(input), pad.buttons[4], pad.stickX, pad.stickY, pad.left2, pad.stick2X),
            std::tuple("UDRZV", 0, 1.0f, -1.0f, 1, -1.0f));
  devices.keys = KeyboardState{};
  devices.keys.held[kD] = devices.keys.held[kF] = true;  // the second pad's down and right
  input.Update();
  EXPECT_EQ(std::tuple(pad.up2, pad.down2, pad.left2, pad.right2, pad.stick2X, pad.stick2Y),
            std::tuple(0, 1, 0, 1, 1.0f, 1.0f));

  devices.keys = KeyboardState{};
  input.Update();
  EXPECT_EQ(std::tuple(Held(input), pad.stickY), std::tuple("-", 0.0f));
  devices.keys.held[kZ] = true;
  devices.keyboardReadable = false;  // the window in the background
  input.Update();
  EXPECT_EQ(Held(input), "-");
}

// A replayed frame must play exactly as the live keys it was recorded from: every field of
// the pad, sticks included, for each of the 256 control bytes.
TEST(KeyInputTest, AReplayedFrameGivesThePadItsKeysGiveLive) {
  testing::HeldKeys devices;
  KeyInput input(&devices);
  for (int byte = 0; byte < 256; ++byte) {
    const auto controls = static_cast<ReplayControls>(byte);
    KeyboardState& keys = devices.keys;
    const std::pair<char, int> letters[] = {{'U', kUp}, {'D', kDown}, {'L', kLeft}, {'R', kRight},
                                            {'Z', kZ},  {'X', kX},    {'C', kC},    {'V', kV}};
    for (const auto& [letter, key] : letters) keys.held[key] = controls & ControlBit(letter);
    const PadState live = input.ReadPad(), replayed = PadFromControls(controls);
    ASSERT_EQ(std::memcmp(&live, &replayed, sizeof live), 0) << ControlsToText(controls);
    ASSERT_EQ(ControlsFromPad(live), controls);
  }
}

TEST(KeyInputTest, StickScalingAndDirectionsAtTheirBreakPointsAndControllersAddToKeys) {
  const std::pair<int, float> points[] = {{-1000, -1.0f},      {-800, -1.0f},       {-500, -0.5f},
                                          {-201, -1.0f / 600}, {-200, 0.0f},        {200, 0.0f},
                                          {500, 0.5f},         {799, 599.0f / 600}, {1000, 1.0f}};
  for (const auto& [value, scaled] : points)
    EXPECT_FLOAT_EQ(KeyInput::ScaleAxis(value), scaled) << value;
  // A stick held just at the dead zone's edge gives no direction; one step further does.
  const std::pair<ControllerState, const char*> sticks[] = {
      {{-200, 200}, "-"}, {{200, -200}, "-"}, {{-201, 201}, "DL"}, {{201, -201}, "UR"}};
  for (const auto& [stick, held] : sticks) {
    testing::HeldKeys devices;
    devices.controllers = {stick};
    KeyInput input(&devices);
    input.Update();
    EXPECT_EQ(Held(input), held) << stick.axisX << ", " << stick.axisY;
  }
  // Controllers add to the keyboard unless unreadable.
  testing::HeldKeys devices;
  devices.keys.held[kLeft] = true;
  ControllerState stick{1000, -500, {false, false, true, false}};  // right against held Left
  ControllerState unreadable{0, 1000, {true, false, false, false}};
  devices.controllers = {stick, unreadable};
  devices.controllerReadable = {true, false};
  KeyInput input(&devices);
  input.Update();
  const PadState& pad = *input.GetPad(0);
  EXPECT_EQ(std::tuple(Held(input), pad.stickX, pad.stickY), std::tuple("ULRC", 0.0f, -0.5f));
  for (int i = 1; i < KeyInput::kPadCount; ++i)  // only pad 0 is filled
    EXPECT_EQ(std::tuple(input.GetPad(i)->buttons[2], input.GetPad(i)->stickX),
              std::tuple(0, 0.0f));
  EXPECT_EQ(std::tuple(input.GetPad(KeyInput::kPadCount), input.GetPad(-1)),
            std::tuple(nullptr, nullptr));
  KeyInput none(nullptr);  // no devices reads released
  none.Update();
  EXPECT_EQ(Held(none), "-");
}

// Rebound keys and buttons replace the defaults: W and Space move up and fire, Z and the
// D-pad do nothing; a second key for an action works as its first.
TEST(KeyInputTest, TheBindingsDecideWhichKeysAndButtonsGiveEachAction) {
  constexpr int kW = 26, kSpace = 44, kBack = 4, kDpadUp = 11, kStart = 6;
  testing::HeldKeys devices;
  KeyInput input(&devices);
  Bindings bindings;
  bindings.keys[Bindings::kUp] = {kW, KeyNames::kNoKey};
  bindings.keys[Bindings::kFire] = {kSpace, kX};
  bindings.keys[Bindings::kX] = {kZ, KeyNames::kNoKey};
  bindings.buttons[Bindings::kReturn] = {kStart, kBack};
  bindings.buttons[Bindings::kUp] = {KeyNames::kNoButton, KeyNames::kNoButton};
  input.SetBindings(bindings);
  for (int key : {kW, kUp, kSpace}) devices.keys.held[key] = true;
  input.Update();
  EXPECT_EQ(std::tuple(Held(input), input.GetPad(0)->stickY), std::tuple("UZ", -1.0f));
  devices.keys = KeyboardState{};
  devices.keys.held[kX] = devices.keys.held[kZ] = true;  // fire's second key, and x's
  ControllerState pad;
  pad.buttons[kBack] = pad.buttons[kDpadUp] = true;
  devices.controllers = {pad};
  input.Update();
  EXPECT_EQ(Held(input), "ZXV");
}

}  // namespace
}  // namespace vorlith
