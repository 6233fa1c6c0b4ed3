#include "sound/SoundSynth.h"

#include <algorithm>
#include <cmath>

namespace vorlith {
namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

using Samples = std::vector<double>;

// Deterministic noise in [-1, 1] (xorshift32).
class Noise {
 public:
  explicit Noise(std::uint32_t seed) : state(seed) {}
  double Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return static_cast<double>(state) / 2147483648.0 - 1.0;
  }

 private:
  std::uint32_t state;
};

// One-pole low-pass whose cutoff may change per sample.
class LowPass {
 public:
  double Step(double in, double cutoffHz) {
    double a = 1.0 - std::exp(-2.0 * kPi * cutoffHz / kRate);
    out += a * (in - out);
    return out;
  }

 private:
  double out = 0.0;
};

// Raised-cosine fade in over the first fadeIn seconds and out over the last fadeOut.
double Edges(double t, double length, double fadeIn, double fadeOut) {
  double gain = 1.0;
  if (t < fadeIn) gain *= 0.5 - 0.5 * std::cos(kPi * t / fadeIn);
  double left = length - t;
  if (left < fadeOut) gain *= 0.5 - 0.5 * std::cos(kPi * std::max(left, 0.0) / fadeOut);
  return gain;
}

// The shot: a bright chirp falling from 2400 Hz to 900 Hz with two soft overtones and a
// short breath of noise (3 to 9 kHz) at its start, dying away within 0.12 s.
Samples MakeShot() {
  const double length = 0.12;
  const int count = static_cast<int>(length * kRate);
  Samples out(count);
  Noise noise(0x5AD04u);
  LowPass airLow;
  LowPass airHigh;
  double phase = 0.0;
  for (int i = 0; i < count; ++i) {
    double t = static_cast<double>(i) / kRate;
    double frequency = 900.0 + 1500.0 * std::exp(-t / 0.025);
    phase += 2.0 * kPi * frequency / kRate;
    double tone = std::sin(phase) + 0.35 * std::sin(2.0 * phase) + 0.12 * std::sin(3.0 * phase);
    double white = noise.Next();
    double air = airHigh.Step(white, 9000.0) - airLow.Step(white, 3000.0);  // 3 to 9 kHz
    double body = std::exp(-t / 0.03);
    double snap = std::exp(-t / 0.006);
    out[i] = (0.8 * tone * body + 0.25 * air * snap) * Edges(t, length, 0.002, 0.02);
  }
  return out;
}

// The destruction: a burst of noise whose brightness falls from 5 kHz to 250 Hz, over a low
// thump falling from 140 Hz to 45 Hz, with a few short crackles of debris in its first quarter
// second (each a 5 ms grain of 1.5 to 8 kHz noise with a smooth envelope, never a bare impulse).
Samples MakeExplosion() {
  const double length = 0.55;
  const int count = static_cast<int>(length * kRate);
  Samples out(count);
  Noise noise(0x50B02u);
  Noise grainNoise(0xC4AC1Eu);
  LowPass rumble1;
  LowPass rumble2;
  LowPass grainLow;
  LowPass grainHigh;
  const int grainLength = static_cast<int>(0.005 * kRate);
  int grainLeft = 0;
  double grainLevel = 0.0;
  double phase = 0.0;
  for (int i = 0; i < count; ++i) {
    double t = static_cast<double>(i) / kRate;
    double cutoff = 250.0 + 4750.0 * std::exp(-t / 0.07);
    double burst = rumble2.Step(rumble1.Step(noise.Next(), cutoff), cutoff);
    double frequency = 45.0 + 95.0 * std::exp(-t / 0.09);
    phase += 2.0 * kPi * frequency / kRate;
    double thump = std::sin(phase) * std::exp(-t / 0.12);
    double trigger = grainNoise.Next();
    if (grainLeft == 0 && t > 0.02 && t < 0.25 && trigger > 0.9994) {
      grainLeft = grainLength;
      grainLevel = 0.35 + 0.25 * grainNoise.Next();
    }
    double grain = 0.0;
    if (grainLeft > 0) {
      double x = 1.0 - static_cast<double>(grainLeft) / grainLength;
      double white = grainNoise.Next();
      double band = grainHigh.Step(white, 8000.0) - grainLow.Step(white, 1500.0);
      grain = 1.5 * grainLevel * band * std::sin(kPi * x);
      --grainLeft;
    }
    double body = std::exp(-t / 0.13);
    out[i] = (1.6 * burst * body + 0.55 * thump + grain * body) * Edges(t, length, 0.003, 0.08);
  }
  return out;
}

// Removes any offset, so that the sound rests on zero, and scales its peak to peakDb.
std::vector<std::int16_t> ToPcm16(Samples samples, double peakDb) {
  double mean = 0.0;
  for (double s : samples) mean += s;
  mean /= static_cast<double>(samples.size());
  double peak = 0.0;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    double length = static_cast<double>(samples.size()) / kRate;
    samples[i] -= mean * Edges(t, length, 0.002, 0.02);
    peak = std::max(peak, std::fabs(samples[i]));
  }
  double scale = std::pow(10.0, peakDb / 20.0) * 32767.0 / peak;
  std::vector<std::int16_t> pcm(samples.size());
  for (std::size_t i = 0; i < samples.size(); ++i) {
    pcm[i] = static_cast<std::int16_t>(std::lround(samples[i] * scale));
  }
  return pcm;
}

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

void PutText(std::vector<std::uint8_t>& out, const char* text) {
  for (; *text; ++text) out.push_back(static_cast<std::uint8_t>(*text));
}

std::vector<std::uint8_t> ToWave(const std::vector<std::int16_t>& pcm) {
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(pcm.size() * 2);
  std::vector<std::uint8_t> out;
  out.reserve(44 + dataBytes);
  PutText(out, "RIFF");
  Put32(out, 36 + dataBytes);
  PutText(out, "WAVEfmt ");
  Put32(out, 16);
  Put16(out, 1);          // PCM
  Put16(out, 1);          // mono
  Put32(out, kRate);      // samples per second
  Put32(out, kRate * 2);  // bytes per second
  Put16(out, 2);          // block align
  Put16(out, 16);         // bits per sample
  PutText(out, "data");
  Put32(out, dataBytes);
  for (std::int16_t sample : pcm) Put16(out, static_cast<std::uint16_t>(sample));
  return out;
}

}  // namespace

std::vector<std::uint8_t> SoundSynth::MakeShotWave() {
  return ToWave(ToPcm16(MakeShot(), -7.0));
}

std::vector<std::uint8_t> SoundSynth::MakeExplosionWave() {
  return ToWave(ToPcm16(MakeExplosion(), -1.0));
}

}  // namespace vorlith
