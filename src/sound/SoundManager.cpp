#include "sound/SoundManager.h"

#include "platform/AudioDevice.h"
#include "platform/Dialogs.h"
#include "sound/Sound.h"

namespace vorlith {
namespace {

constexpr int kOutputRate = 44100;
constexpr int kOutputChannels = 2;
constexpr int kOutputBits = 16;

}  // namespace

SoundManager::SoundManager(Dialogs& dialogs) : dialogs(dialogs) {}

void SoundManager::ShowError(const char* text) {
  dialogs.ShowMessage("Error", text);
}

SoundManager::~SoundManager() {
  // The owner releases first; whatever it left is let go here, sounds before the device.
  ReleaseDevice();
}

bool SoundManager::Init(AudioSystem* audioSystem) {
  ReleaseDevice();
  audio = audioSystem;
  device = audio ? audio->OpenDevice() : nullptr;
  if (!device) {
    ShowError("IDirectSound8インターフェイスの取得に失敗");
    return false;
  }
  if (!device->Claim()) {
    ShowError("協調レベルの設定に失敗");
    return false;
  }
  if (!device->CreateMix()) {
    ShowError("プライマリ・バッファの作成に失敗");
    return false;
  }
  if (!device->SetOutputFormat(kOutputRate, kOutputChannels, kOutputBits)) {
    ShowError("プライマリ・バッファのフォーマット設定に失敗");
  }
  return true;
}

void SoundManager::RegisterSound(int slot, const char* fileName) {
  auto found = sounds.find(slot);
  if (found != sounds.end()) found->second->Release();
  sounds[slot] = std::make_unique<Sound>(device.get(), fileName, dialogs);
}

bool SoundManager::LoadAllSounds() {
  for (auto& [slot, sound] : sounds) {
    if (!sound->Load()) return false;
  }
  return true;
}

void SoundManager::Play(int slot) {
  auto found = sounds.find(slot);
  if (found == sounds.end()) return;
  found->second->Play(audio ? audio->GetEffectGain() : 1.0f);
  if (audio) audio->NotePlayed(slot);
}

void SoundManager::ReleaseAllSounds() {
  for (auto& [slot, sound] : sounds) sound->Release();
}

void SoundManager::ReleaseDevice() {
  // Sounds borrow the device: they go before it does, so that none is left pointing at it.
  ReleaseAllSounds();
  sounds.clear();
  device.reset();
}

const Sound* SoundManager::GetSound(int slot) const {
  auto found = sounds.find(slot);
  return found == sounds.end() ? nullptr : found->second.get();
}

}  // namespace vorlith
