// The resource file: a container of up to 1,500 typed, numbered and named
// blocks of bytes, used by the Preferences file, the working cluster file and
// saved clusters.
//
// On disk (the mix of byte orders is part of the format):
//   0      LE u32 0x88991742        first magic
//   4      LE u32 0x54232570        second magic
//   8      LE u32 0
//   12     LE u32 1500              directory capacity
//   16     BE u32                   number of resources in use
//   20     1,500 entries of 272 bytes:
//            +0 LE u32 id, +4 LE u32 type ('clut' = 0x636C7574),
//            +8 BE u32 start, +12 BE u32 end (inclusive; length = end-start+1),
//            +16 name[256], NUL-terminated
//   408020 data area: the entries' data back to back, in directory order.
//
// The directory of an open file lives in memory and reaches the disk only at
// CloseResFile; data writes go to the file at once. No file descriptor is
// held between calls. Safe on untrusted files: OpenResFile rejects a header
// whose count or extents do not describe a contiguous data area, and reads
// that run past the end of the file return no result.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "resource/handle_memory.h"

namespace ws {

struct Runtime;

using ResType = std::uint32_t;
using RefNum = std::uint32_t;  // 0: no file

// 'clut' -> 0x636C7574: first character in the most significant byte.
constexpr ResType MakeResType(const char (&code)[5]) {
  return (static_cast<ResType>(static_cast<unsigned char>(code[0])) << 24) |
         (static_cast<ResType>(static_cast<unsigned char>(code[1])) << 16) |
         (static_cast<ResType>(static_cast<unsigned char>(code[2])) << 8) |
         static_cast<ResType>(static_cast<unsigned char>(code[3]));
}
std::string ResTypeName(ResType type);

inline constexpr ResType kResPinf = MakeResType("PINF");
inline constexpr ResType kResPnts = MakeResType("PNTS");
inline constexpr ResType kResTvct = MakeResType("TVCT");
inline constexpr ResType kResFace = MakeResType("FACE");
inline constexpr ResType kResAnim = MakeResType("ANIM");
inline constexpr ResType kResClut = MakeResType("clut");
inline constexpr ResType kResPref = MakeResType("PREF");
inline constexpr ResType kResPlay = MakeResType("PLAY");
inline constexpr ResType kResSkdt = MakeResType("SKDT");
inline constexpr ResType kResLndt = MakeResType("LNDT");
inline constexpr ResType kResLpat = MakeResType("LPAT");

struct ResourceEntry {
  std::uint32_t id = 0;
  ResType type = 0;
  std::uint32_t start = 0;
  std::uint32_t end = 0;
  std::string name;
  std::uint32_t length() const { return end - start + 1; }
};

struct Resource {
  Block data;  // tracked block tagged with the resource type
  std::string name;
  std::size_t length() const { return data.size(); }
  std::span<const std::uint8_t> bytes() const { return data.bytes(); }
};

class ResourceFile {
 public:
  static constexpr std::uint32_t kMagic1 = 0x88991742;
  static constexpr std::uint32_t kMagic2 = 0x54232570;
  static constexpr std::uint32_t kCapacity = 1500;  // directory entries
  static constexpr std::size_t kEntrySize = 272;
  static constexpr std::size_t kDirectoryOffset = 20;
  static constexpr std::size_t kHeaderSize = kDirectoryOffset + kCapacity * kEntrySize;  // 408,020
  static constexpr std::size_t kNameBytes = 256;
  static constexpr std::size_t kMaxNameLength = kNameBytes - 1;  // 255
  static constexpr std::size_t kMaxOpenFiles = 100;
  static constexpr std::size_t kMaxPathLength = 254;

  explicit ResourceFile(Runtime& rt);
  ~ResourceFile();
  ResourceFile(const ResourceFile&) = delete;
  ResourceFile& operator=(const ResourceFile&) = delete;

  // Creates or truncates `path` with an empty header and directory; does not
  // open it. 0 on success, -1 ("CLVlib:CreateResFile failed.\n") on failure.
  int CreateResFile(const std::string& path);
  // Reads the header and directory into a free slot; 0 when no slot is free,
  // the file cannot be read, or the header is not a resource file's.
  RefNum OpenResFile(const std::string& path);
  // Writes the directory back and frees the slot; -1 when the refnum is
  // unknown or the file has gone (the slot then stays open).
  int CloseResFile(RefNum ref);

  std::optional<Resource> ReadResource(RefNum ref, ResType type, std::uint32_t id);
  // Adds or replaces; a replacement of another length moves to the end of the
  // directory. Refused with a Notification (false) when the directory is
  // full or the name is longer than 255 characters.
  bool WriteResource(RefNum ref, ResType type, std::uint32_t id, std::span<const std::uint8_t> data,
                     std::string_view name);
  void DeleteResource(RefNum ref, ResType type, std::uint32_t id);
  std::uint32_t CountResourcesOfType(RefNum ref, ResType type);
  int ChangeResourceInfo(RefNum ref, ResType type, std::uint32_t id, std::string_view newName,
                         ResType newType, std::uint32_t newId);
  // The path a refnum was opened with.
  std::optional<std::string> GetResFilePath(RefNum ref);

  // The directory in use, in data order (empty for an unknown refnum).
  std::vector<ResourceEntry> Entries(RefNum ref) const;
  std::size_t OpenFileCount() const;

 private:
  struct Slot {
    bool open = false;
    std::uint32_t generation = 0;
    std::string path;
    Block header;        // kHeaderSize bytes, exactly as on disk
    bool dirty = false;  // the directory changed since the file was opened
  };

  Slot* Find(RefNum ref);
  const Slot* Find(RefNum ref) const;
  Slot* FindOrComplain(RefNum ref);
  RefNum MakeRef(std::size_t slotIndex) const;
  std::optional<std::uint32_t> FindEntry(const Slot& slot, ResType type, std::uint32_t id) const;
  bool RemoveEntry(Slot& slot, std::uint32_t index);

  Runtime& rt_;
  std::array<Slot, kMaxOpenFiles> slots_;
};

// Closes a refnum when the scope ends, so every return path pairs
// OpenResFile with CloseResFile.
class OpenResource {
 public:
  OpenResource(ResourceFile& files, const std::string& path)
      : files_(files), ref_(files.OpenResFile(path)) {}
  ~OpenResource() { Close(); }
  OpenResource(const OpenResource&) = delete;
  OpenResource& operator=(const OpenResource&) = delete;
  RefNum ref() const { return ref_; }
  explicit operator bool() const { return ref_ != 0; }
  int Close() {
    int result = 0;
    if (ref_ != 0) result = files_.CloseResFile(ref_);
    ref_ = 0;
    return result;
  }

 private:
  ResourceFile& files_;
  RefNum ref_;
};

}  // namespace ws
