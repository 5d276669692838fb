#include "sounds.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "resource/byte_order.h"

namespace ws::prefs {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// A mono buffer of doubles in [-1, 1] that the voices below mix into.
class Mix {
 public:
  explicit Mix(double seconds)
      : samples_(static_cast<std::size_t>(std::lround(seconds * kSampleRate)), 0.0) {}

  std::size_t size() const { return samples_.size(); }
  double& operator[](std::size_t i) { return samples_[i]; }

  // A struck tone: instant attack (softened over `attack` seconds), then an
  // exponential decay with time constant `tau`. Partials are multiples of
  // the fundamental with their own gains.
  void Bell(double start, double freq, double gain, double tau,
            std::initializer_list<std::pair<double, double>> partials, double attack = 0.002) {
    const std::size_t first = Index(start);
    for (std::size_t i = first; i < samples_.size(); ++i) {
      const double t = static_cast<double>(i - first) / kSampleRate;
      const double env = gain * std::exp(-t / tau) * std::min(1.0, t / attack);
      double v = std::sin(kTwoPi * freq * t);
      for (const auto& [ratio, g] : partials) v += g * std::sin(kTwoPi * freq * ratio * t);
      samples_[i] += env * v;
    }
  }

  // A tone whose pitch glides exponentially from f0 to f1 over its length.
  void Glide(double start, double length, double f0, double f1, double gain, double tau) {
    const std::size_t first = Index(start);
    const std::size_t last = std::min(samples_.size(), Index(start + length));
    double phase = 0.0;
    for (std::size_t i = first; i < last; ++i) {
      const double t = static_cast<double>(i - first) / kSampleRate;
      const double f = f0 * std::pow(f1 / f0, t / length);
      phase += kTwoPi * f / kSampleRate;
      const double env = gain * std::exp(-t / tau) * std::min(1.0, t / 0.001);
      samples_[i] += env * std::sin(phase);
    }
  }

  // A burst of noise, smoothed by a one-pole low-pass with coefficient
  // `smooth` (0 = raw), rising over a few samples and decaying with time
  // constant `tau`.
  void Noise(double start, double length, double gain, double tau, double smooth,
             std::uint32_t seed) {
    const std::size_t first = Index(start);
    const std::size_t last = std::min(samples_.size(), Index(start + length));
    std::uint32_t state = seed;
    double lowPassed = 0.0;
    for (std::size_t i = first; i < last; ++i) {
      state ^= state << 13;
      state ^= state >> 17;
      state ^= state << 5;
      const double white = static_cast<double>(state) / 2147483648.0 - 1.0;
      lowPassed = smooth * lowPassed + (1.0 - smooth) * white;
      const double t = static_cast<double>(i - first) / kSampleRate;
      samples_[i] += gain * std::exp(-t / tau) * std::min(1.0, t / 0.0003) * lowPassed;
    }
  }

  // Fades the last `seconds` to silence so the sound never ends in a step.
  void FadeOut(double seconds) {
    const std::size_t n = std::min(samples_.size(), Index(seconds));
    for (std::size_t k = 0; k < n; ++k) {
      samples_[samples_.size() - 1 - k] *= static_cast<double>(k) / static_cast<double>(n);
    }
  }

  std::vector<std::int16_t> ToPcm() const {
    std::vector<std::int16_t> pcm;
    pcm.reserve(samples_.size());
    for (double v : samples_) {
      pcm.push_back(static_cast<std::int16_t>(std::lround(std::clamp(v, -1.0, 1.0) * 32767.0)));
    }
    return pcm;
  }

 private:
  static std::size_t Index(double seconds) {
    return static_cast<std::size_t>(std::lround(seconds * kSampleRate));
  }
  std::vector<double> samples_;
};

// Musical pitches used by the chimes.
constexpr double kC5 = 523.25, kG5 = 783.99, kC6 = 1046.50, kE6 = 1318.51, kG6 = 1567.98,
                 kA6 = 1760.00, kB6 = 1975.53;

std::vector<std::int16_t> Synthesise(std::uint32_t n) {
  switch (n) {
    case 0: {  // soft rising chime
      Mix m(0.20);
      m.Bell(0.000, kC6, 0.28, 0.060, {{2.0, 0.20}, {3.0, 0.05}});
      m.Bell(0.070, kG6, 0.28, 0.060, {{2.0, 0.20}, {3.0, 0.05}});
      m.FadeOut(0.02);
      return m.ToPcm();
    }
    case 1: {  // dry click
      Mix m(0.030);
      m.Noise(0.0, 0.004, 0.35, 0.0012, 0.2, 0x1234567u);
      m.Bell(0.0, 2400.0, 0.30, 0.004, {{1.6, 0.3}}, 0.0003);
      m.FadeOut(0.004);
      return m.ToPcm();
    }
    case 2: {  // bright two-note chime
      Mix m(0.18);
      m.Bell(0.000, kE6, 0.30, 0.050, {{2.76, 0.15}, {5.40, 0.05}});
      m.Bell(0.050, kB6, 0.30, 0.055, {{2.76, 0.15}, {5.40, 0.05}});
      m.FadeOut(0.02);
      return m.ToPcm();
    }
    case 3: {  // falling two-note
      Mix m(0.18);
      m.Bell(0.000, kG5, 0.32, 0.045, {{2.0, 0.25}});
      m.Bell(0.075, kC5, 0.32, 0.050, {{2.0, 0.25}});
      m.FadeOut(0.02);
      return m.ToPcm();
    }
    case 4: {  // pop
      Mix m(0.07);
      m.Glide(0.0, 0.07, 900.0, 300.0, 0.45, 0.020);
      m.FadeOut(0.01);
      return m.ToPcm();
    }
    case 5: {  // triple blip
      Mix m(0.15);
      for (int k = 0; k < 3; ++k) m.Bell(0.05 * k, kG6, 0.25, 0.010, {{2.0, 0.2}}, 0.0008);
      m.FadeOut(0.01);
      return m.ToPcm();
    }
    case 6: {  // quick high blip
      Mix m(0.045);
      m.Bell(0.0, kA6, 0.32, 0.010, {{2.0, 0.25}}, 0.0008);
      m.FadeOut(0.008);
      return m.ToPcm();
    }
    case 7: {  // low thud
      Mix m(0.12);
      m.Glide(0.0, 0.12, 140.0, 55.0, 0.60, 0.035);
      m.Noise(0.0, 0.03, 0.30, 0.006, 0.85, 0x9E3779B9u);
      m.FadeOut(0.015);
      return m.ToPcm();
    }
    default:
      return {};
  }
}

}  // namespace

std::vector<std::uint8_t> EncodeWav(const std::vector<std::int16_t>& samples,
                                    std::uint32_t sampleRate) {
  constexpr std::uint16_t kChannels = 1;
  constexpr std::uint16_t kBlockAlign = kChannels * kBitsPerSample / 8;
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * kBlockAlign);
  std::vector<std::uint8_t> wav(kWavHeaderBytes + dataBytes);
  std::uint8_t* p = wav.data();
  auto tag = [](std::uint8_t* at, const char(&t)[5]) { std::copy_n(t, 4, at); };
  tag(p + 0, "RIFF");
  StoreLE32(p + 4, 36 + dataBytes);
  tag(p + 8, "WAVE");
  tag(p + 12, "fmt ");
  StoreLE32(p + 16, 16);  // fmt chunk size
  StoreLE16(p + 20, 1);   // PCM
  StoreLE16(p + 22, kChannels);
  StoreLE32(p + 24, sampleRate);
  StoreLE32(p + 28, sampleRate * kBlockAlign);  // byte rate
  StoreLE16(p + 32, kBlockAlign);
  StoreLE16(p + 34, kBitsPerSample);
  tag(p + 36, "data");
  StoreLE32(p + 40, dataBytes);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    StoreLE16(p + kWavHeaderBytes + 2 * i, static_cast<std::uint16_t>(samples[i]));
  }
  return wav;
}

std::vector<std::uint8_t> BuildSound(std::uint32_t n) {
  if (n >= kSoundCount) return {};
  return EncodeWav(Synthesise(n), kSampleRate);
}

}  // namespace ws::prefs
