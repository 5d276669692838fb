// The object walk that the binary and the text form share: a stack of
// frames (the file itself, then one per reference being followed), each
// with its open containers.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "import/readers/3dmf/metafile_reader.h"

namespace ws::metafile {

// The format's default ellipsoid (one given without data): orientation x,
// major radius y, minor radius z, about the origin.
inline constexpr std::array<float, 12> kDefaultEllipsoid = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};

class StreamReader : public MetafileReader {
 public:
  int ReadNextObject(MetafileObject& out) override;
  int ResolveReference(const MetafileObject& reference, const MetafileObject* storage) override;
  std::uint64_t GetPosition() const override { return BytePosition(frames_.front().pos); }

 protected:
  // Positions are the form's own units: bytes (binary) or tokens (text).
  struct Parsed {
    enum Kind { kObject, kContainer, kSkip } kind = kObject;
    std::size_t next = 0;        // where the following object starts
    std::size_t childStart = 0;  // containers: their children ...
    std::size_t childEnd = 0;    // ... up to here
  };
  explicit StreamReader(LogLine log) : log_(std::move(log)) {}
  // Starts the walk of the file's objects at [start, end).
  void Begin(std::size_t start, std::size_t end) {
    frames_.push_back({start, end, {}, false, false});
  }
  // Parses the object at `pos`, which must end by `limit`: kOk with `out`
  // and `parsed` filled (parsed.next > pos), or kBadObject.
  virtual int Parse(std::size_t pos, std::size_t limit, MetafileObject& out, Parsed& parsed) = 0;
  virtual std::uint64_t BytePosition(std::size_t pos) const = 0;
  // The position of the object that the table of contents gives `id`.
  virtual bool Lookup(std::uint32_t id, std::size_t& pos) const = 0;

 private:
  struct Open {
    std::size_t childEnd;
    std::size_t after;
  };
  struct Frame {
    std::size_t pos;
    std::size_t end;
    std::vector<Open> containers;
    bool single;  // a referenced object: the frame ends after it
    bool done;
  };
  std::vector<Frame> frames_;
  std::size_t resolved_ = 0;
  bool ended_ = false;
  LogLine log_;
};

}  // namespace ws::metafile
