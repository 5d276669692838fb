// SoundPlayer on Qt Multimedia: plays the PCM of an in-memory WAV sound
// through a QAudioSink on the default output and returns at once. Silent
// when the machine has no audio output or the data is not a PCM WAV.
#pragma once

#include <QObject>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "editor/shell/commands.h"

class QAudioSink;
class QBuffer;

namespace ws {

struct WavPcm {
  int channels = 0;
  int sampleRate = 0;
  int bitsPerSample = 0;
  std::span<const std::uint8_t> samples;
};

// The format and samples of a RIFF/WAVE file held in memory; none when the
// bytes are not an uncompressed 8- or 16-bit PCM WAV. Every chunk length is
// checked against the bytes left.
std::optional<WavPcm> ParseWav(std::span<const std::uint8_t> bytes);

class QtSoundPlayer : public QObject, public SoundPlayer {
  Q_OBJECT
 public:
  QtSoundPlayer();
  ~QtSoundPlayer() override;
  void Play(std::span<const std::uint8_t> wav) override;
  bool hasOutput() const { return hasOutput_; }

 private:
  void Stop();
  bool hasOutput_ = false;
  std::unique_ptr<QAudioSink> sink_;
  std::unique_ptr<QBuffer> buffer_;
  std::vector<std::uint8_t> samples_;
};

}  // namespace ws
