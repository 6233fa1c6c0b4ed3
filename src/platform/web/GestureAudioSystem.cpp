#include "platform/web/GestureAudioSystem.h"

#include <emscripten.h>
#include <emscripten/html5.h>

#include "platform/web/HeldAudioDevice.h"

namespace vorlith {
namespace {

// The browser's own word where it has one (keys such as Esc are no gesture to it); else
// any key press or click seen.
// clang-format off
EM_JS(int, PageHasBeenActive, (int gestureSeen), {
  var activation = navigator.userActivation;
  return activation ? (activation.hasBeenActive ? 1 : 0) : gestureSeen;
});
// clang-format on

// A held device that leaves the system's list when it closes.
class ListedDevice : public HeldAudioDevice {
 public:
  explicit ListedDevice(std::shared_ptr<GestureAudioSystem::OpenDevices> open)
      : open(std::move(open)) {
    this->open->insert(this);
  }
  ~ListedDevice() override { open->erase(this); }

 private:
  std::shared_ptr<GestureAudioSystem::OpenDevices> open;
};

int OnKey(int, const EmscriptenKeyboardEvent*, void* audio) {
  static_cast<GestureAudioSystem*>(audio)->NoteGesture();
  return EM_FALSE;
}

int OnMouse(int, const EmscriptenMouseEvent*, void* audio) {
  static_cast<GestureAudioSystem*>(audio)->NoteGesture();
  return EM_FALSE;
}

int OnTouch(int, const EmscriptenTouchEvent*, void* audio) {
  static_cast<GestureAudioSystem*>(audio)->NoteGesture();
  return EM_FALSE;
}

}  // namespace

GestureAudioSystem::GestureAudioSystem(std::unique_ptr<AudioSystem> system)
    : system(std::move(system)), openDevices(std::make_shared<OpenDevices>()) {
  Listen(true);
}

GestureAudioSystem::~GestureAudioSystem() {
  Listen(false);
}

// On the document, in the capture phase: every key press and click in the page, whatever
// the page does with it.
void GestureAudioSystem::Listen(bool on) {
  void* self = on ? this : nullptr;
  const char* page = EMSCRIPTEN_EVENT_TARGET_DOCUMENT;
  emscripten_set_keydown_callback(page, self, EM_TRUE, on ? &OnKey : nullptr);
  emscripten_set_mousedown_callback(page, self, EM_TRUE, on ? &OnMouse : nullptr);
  emscripten_set_touchend_callback(page, self, EM_TRUE, on ? &OnTouch : nullptr);
}

void GestureAudioSystem::NoteGesture() {
  gestureSeen = true;
  if (!MayStartSound()) return;
  for (HeldAudioDevice* device : *openDevices) device->Start(*system);
}

bool GestureAudioSystem::MayStartSound() const {
  return PageHasBeenActive(gestureSeen ? 1 : 0) != 0;
}

std::unique_ptr<AudioDevice> GestureAudioSystem::OpenDevice() {
  auto device = std::make_unique<ListedDevice>(openDevices);
  if (MayStartSound()) device->Start(*system);
  return device;
}

}  // namespace vorlith
