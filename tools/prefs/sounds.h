// The eight sounds 'PLAY' 0 to 7, synthesised: RIFF/WAVE files of 16-bit
// mono PCM at 22,050 Hz, a few kilobytes each.
//
// What the editor plays them for decides their character:
//   1  mode-strip click, toggle release, every plotted coordinate, walk
//      clicks: a short dry click that does not tire on repetition;
//   2  a colour picked in the chooser: a bright two-note chime;
//   6  a vector or polygon selected, a colour set or grabbed: a quick
//      high blip;
//   7  the walk refused by a wall: a low thud;
//   0, 3, 4, 5 are loaded but never played; they get a soft rising chime,
//      a falling two-note, a pop and a triple blip so that any later use
//      has something fitting.
#pragma once

#include <cstdint>
#include <vector>

namespace ws::prefs {

inline constexpr std::uint32_t kSoundCount = 8;
inline constexpr std::uint32_t kSampleRate = 22050;
inline constexpr std::uint16_t kBitsPerSample = 16;
inline constexpr std::size_t kWavHeaderBytes = 44;

// The complete WAV file of sound `n` (0..7); empty for any other n.
std::vector<std::uint8_t> BuildSound(std::uint32_t n);

// A canonical 44-byte-header PCM WAV file around `samples`.
std::vector<std::uint8_t> EncodeWav(const std::vector<std::int16_t>& samples,
                                    std::uint32_t sampleRate);

}  // namespace ws::prefs
