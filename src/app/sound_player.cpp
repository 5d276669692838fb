#include "app/sound_player.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>

#include "resource/byte_order.h"

namespace ws {
namespace {

std::uint32_t U32(std::span<const std::uint8_t> b, std::size_t at) {
  return std::uint32_t{b[at]} | std::uint32_t{b[at + 1]} << 8 | std::uint32_t{b[at + 2]} << 16 |
         std::uint32_t{b[at + 3]} << 24;
}
std::uint16_t U16(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
bool Tag(std::span<const std::uint8_t> b, std::size_t at, const char* tag) {
  return b[at] == tag[0] && b[at + 1] == tag[1] && b[at + 2] == tag[2] && b[at + 3] == tag[3];
}

}  // namespace

std::optional<WavPcm> ParseWav(std::span<const std::uint8_t> b) {
  if (b.size() < 12 || !Tag(b, 0, "RIFF") || !Tag(b, 8, "WAVE")) return std::nullopt;
  WavPcm pcm;
  bool haveFormat = false;
  std::size_t pos = 12;
  while (b.size() - pos >= 8) {
    const std::uint32_t length = U32(b, pos + 4);
    const std::size_t body = pos + 8;
    if (length > b.size() - body) return std::nullopt;
    if (Tag(b, pos, "fmt ")) {
      if (length < 16 || U16(b, body) != 1) return std::nullopt;  // PCM only
      pcm.channels = U16(b, body + 2);
      pcm.sampleRate = static_cast<int>(U32(b, body + 4));
      pcm.bitsPerSample = U16(b, body + 14);
      haveFormat = true;
    } else if (Tag(b, pos, "data")) {
      if (!haveFormat) return std::nullopt;
      pcm.samples = b.subspan(body, length);
      if (pcm.channels < 1 || pcm.channels > 2 || pcm.sampleRate <= 0 ||
          (pcm.bitsPerSample != 8 && pcm.bitsPerSample != 16)) {
        return std::nullopt;
      }
      return pcm;
    }
    // Chunks are padded to an even length.
    const std::size_t next = body + length + (length & 1u);
    if (next > b.size()) break;
    pos = next;
  }
  return std::nullopt;
}

QtSoundPlayer::QtSoundPlayer() { hasOutput_ = !QMediaDevices::defaultAudioOutput().isNull(); }

QtSoundPlayer::~QtSoundPlayer() { Stop(); }

void QtSoundPlayer::Stop() {
  if (sink_) sink_->stop();
  sink_.reset();
  buffer_.reset();
}

void QtSoundPlayer::Play(std::span<const std::uint8_t> wav) {
  if (!hasOutput_) return;
  std::optional<WavPcm> pcm = ParseWav(wav);
  if (!pcm) return;
  QAudioFormat format;
  format.setChannelCount(pcm->channels);
  format.setSampleRate(pcm->sampleRate);
  format.setSampleFormat(pcm->bitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (!device.isFormatSupported(format)) return;
  // A new sound cuts the one still playing, as one asynchronous player did.
  Stop();
  samples_.assign(pcm->samples.begin(), pcm->samples.end());
  buffer_ = std::make_unique<QBuffer>();
  buffer_->setData(reinterpret_cast<const char*>(samples_.data()),
                   static_cast<qsizetype>(samples_.size()));
  buffer_->open(QIODevice::ReadOnly);
  sink_ = std::make_unique<QAudioSink>(device, format);
  sink_->start(buffer_.get());
}

}  // namespace ws
