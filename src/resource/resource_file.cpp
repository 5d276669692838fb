#include "resource/resource_file.h"

#include <algorithm>
#include <cstring>

#include "resource/byte_order.h"
#include "resource/file_io.h"
#include "resource/runtime.h"

namespace ws {
namespace {

constexpr std::uint32_t kHeaderTag = 0x48445220;  // 'HDR '
constexpr std::size_t kMoveChunk = 1 << 20;

std::uint8_t* EntryAt(Block& header, std::uint32_t index) {
  return header.data() + ResourceFile::kDirectoryOffset +
         std::size_t{index} * ResourceFile::kEntrySize;
}
const std::uint8_t* EntryAt(const Block& header, std::uint32_t index) {
  return header.data() + ResourceFile::kDirectoryOffset +
         std::size_t{index} * ResourceFile::kEntrySize;
}

std::uint32_t Count(const Block& h) { return LoadBE32(h.data() + 16); }
void SetCount(Block& h, std::uint32_t n) { StoreBE32(h.data() + 16, n); }

std::uint32_t EntryId(const std::uint8_t* e) { return LoadLE32(e); }
ResType EntryType(const std::uint8_t* e) { return LoadLE32(e + 4); }
std::uint32_t EntryStart(const std::uint8_t* e) { return LoadBE32(e + 8); }
std::uint32_t EntryEnd(const std::uint8_t* e) { return LoadBE32(e + 12); }

std::string EntryName(const std::uint8_t* e) {
  const char* name = reinterpret_cast<const char*>(e + 16);
  return std::string(name, strnlen(name, ResourceFile::kMaxNameLength));
}

void SetEntryName(std::uint8_t* e, std::string_view name) {
  std::memset(e + 16, 0, ResourceFile::kNameBytes);
  std::memcpy(e + 16, name.data(), std::min(name.size(), ResourceFile::kMaxNameLength));
}

// The data length of an entry; a zero-length resource has end = start - 1.
std::uint32_t EntryLength(const std::uint8_t* e) { return EntryEnd(e) - EntryStart(e) + 1; }

// A directory we can trust: count within capacity, entries back to back from
// offset 0 with no gaps, and every extent inside a 32-bit data area.
bool DirectoryConsistent(const Block& h) {
  std::uint32_t n = Count(h);
  if (n > ResourceFile::kCapacity) return false;
  std::uint64_t expected = 0;
  for (std::uint32_t i = 0; i < n; ++i) {
    const std::uint8_t* e = EntryAt(h, i);
    if (EntryStart(e) != expected) return false;
    expected += EntryLength(e);
    if (expected > 0xFFFFFFFFull) return false;
  }
  return true;
}

}  // namespace

std::string ResTypeName(ResType type) {
  std::string s(4, ' ');
  for (int i = 0; i < 4; ++i) s[i] = static_cast<char>((type >> (24 - 8 * i)) & 0xFF);
  return s;
}

ResourceFile::ResourceFile(Runtime& rt) : rt_(rt) {}

ResourceFile::~ResourceFile() = default;

RefNum ResourceFile::MakeRef(std::size_t slotIndex) const {
  // Low 7 bits: slot + 1 (never 0); above them a generation count, so that a
  // refnum kept after its close is not mistaken for the slot's next file.
  return (slots_[slotIndex].generation << 7) | static_cast<RefNum>(slotIndex + 1);
}

ResourceFile::Slot* ResourceFile::Find(RefNum ref) {
  std::uint32_t index = ref & 0x7F;
  if (index == 0 || index > kMaxOpenFiles) return nullptr;
  Slot& slot = slots_[index - 1];
  if (!slot.open || MakeRef(index - 1) != ref) return nullptr;
  return &slot;
}

const ResourceFile::Slot* ResourceFile::Find(RefNum ref) const {
  return const_cast<ResourceFile*>(this)->Find(ref);
}

ResourceFile::Slot* ResourceFile::FindOrComplain(RefNum ref) {
  Slot* slot = Find(ref);
  if (!slot) rt_.ui.ShowNote("CLVlib:Can't find refnum index");
  return slot;
}

int ResourceFile::CreateResFile(const std::string& path) {
  std::vector<std::uint8_t> header(kHeaderSize, 0);
  StoreLE32(header.data() + 0, kMagic1);
  StoreLE32(header.data() + 4, kMagic2);
  StoreLE32(header.data() + 8, 0);
  StoreLE32(header.data() + 12, kCapacity);
  StoreBE32(header.data() + 16, 0);
  FileHandle file = CreateFileTruncated(path);
  if (!file || !WriteBytes(file, header.data(), header.size())) {
    rt_.ui.ShowNote("CLVlib:CreateResFile failed.\n");
    return -1;
  }
  return 0;
}

RefNum ResourceFile::OpenResFile(const std::string& path) {
  std::size_t index = kMaxOpenFiles;
  for (std::size_t i = 0; i < kMaxOpenFiles; ++i) {
    if (!slots_[i].open) {
      index = i;
      break;
    }
  }
  if (index == kMaxOpenFiles) return 0;

  Block header = rt_.memory.Allocate(kHeaderSize, kHeaderTag);
  if (!header) {
    rt_.ui.ShowNote("CLVlib:OpenResFile out of memory.");
    return 0;
  }
  if (path.size() > kMaxPathLength) {
    // The slot keeps at most 254 characters of path; a longer one could not
    // be reopened by later calls, so it is refused as unopenable.
    rt_.ui.ShowNote("CLVlib:OpenResFile - error opening file.");
    return 0;
  }
  FileHandle file = OpenFileRW(path);
  if (!file) {
    rt_.ui.ShowNote("CLVlib:OpenResFile - error opening file.");
    return 0;
  }
  bool read = ReadBytes(file, header.data(), kHeaderSize);
  CloseFile(file);
  if (!read) return 0;
  const std::uint8_t* h = header.data();
  if (LoadLE32(h) != kMagic1 || LoadLE32(h + 4) != kMagic2 || LoadLE32(h + 8) != 0 ||
      LoadLE32(h + 12) != kCapacity) {
    return 0;
  }
  if (!DirectoryConsistent(header)) return 0;

  Slot& slot = slots_[index];
  slot.open = true;
  slot.generation = (slot.generation + 1) & 0x1FFFFFF;
  slot.path = path;
  slot.header = std::move(header);
  slot.dirty = false;
  return MakeRef(index);
}

int ResourceFile::CloseResFile(RefNum ref) {
  Slot* slot = FindOrComplain(ref);
  if (!slot) return -1;
  FileHandle file = OpenFileRW(slot->path);
  if (!file) {
    rt_.ui.ShowNote("Can't open file from CloseResFile");
    return -1;
  }
  // A directory that did not change is not written back: that would be a
  // 408 KB write for every file only read, and a crash in the middle of
  // it would leave the file at risk for nothing.
  const bool ok =
      !slot->dirty || (SeekTo(file, 0) && WriteBytes(file, slot->header.data(), kHeaderSize));
  CloseFile(file);
  slot->header.reset();
  slot->path.clear();
  slot->open = false;
  return ok ? 0 : -1;
}

std::optional<std::uint32_t> ResourceFile::FindEntry(const Slot& slot, ResType type,
                                                     std::uint32_t id) const {
  std::uint32_t n = Count(slot.header);
  for (std::uint32_t i = 0; i < n; ++i) {
    const std::uint8_t* e = EntryAt(slot.header, i);
    if (EntryType(e) == type && EntryId(e) == id) return i;
  }
  return std::nullopt;
}

std::optional<Resource> ResourceFile::ReadResource(RefNum ref, ResType type, std::uint32_t id) {
  Slot* slot = FindOrComplain(ref);
  if (!slot) return std::nullopt;
  auto index = FindEntry(*slot, type, id);
  if (!index) return std::nullopt;
  const std::uint8_t* e = EntryAt(slot->header, *index);
  std::uint32_t length = EntryLength(e);
  FileHandle file = OpenFileRW(slot->path);
  if (!file) return std::nullopt;
  auto size = FileSize(file);
  std::uint64_t from = kHeaderSize + std::uint64_t{EntryStart(e)};
  // A directory that promises more bytes than the file holds gives no
  // result; checked before allocating, so a crafted length costs nothing.
  if (!size || *size < from || *size - from < length) return std::nullopt;
  Block data = rt_.memory.Allocate(length, type);
  if (!data) {
    rt_.ui.ShowNote("Bad data allocate");
    return std::nullopt;
  }
  if (!SeekTo(file, from) || (length > 0 && !ReadBytes(file, data.data(), length))) {
    return std::nullopt;
  }
  Resource out;
  out.data = std::move(data);
  out.name = EntryName(e);
  return out;
}

bool ResourceFile::RemoveEntry(Slot& slot, std::uint32_t index) {
  slot.dirty = true;
  std::uint32_t n = Count(slot.header);
  if (n <= 1) {
    // The data area is left as it is; the next resource starts at 0 again.
    SetCount(slot.header, 0);
    return true;
  }
  std::uint8_t* removed = EntryAt(slot.header, index);
  std::uint32_t length = EntryLength(removed);
  std::uint64_t tailFrom = kHeaderSize + std::uint64_t{EntryStart(removed)} + length;

  for (std::uint32_t k = index + 1; k < n; ++k) {
    std::uint8_t* dst = EntryAt(slot.header, k - 1);
    std::memcpy(dst, EntryAt(slot.header, k), kEntrySize);
    StoreBE32(dst + 8, EntryStart(dst) - length);
    StoreBE32(dst + 12, EntryEnd(dst) - length);
  }
  std::memset(EntryAt(slot.header, n - 1), 0, kEntrySize);
  SetCount(slot.header, n - 1);
  if (length == 0) return true;

  // Close the gap in the data area so that it stays contiguous.
  FileHandle file = OpenFileRW(slot.path);
  if (!file) return false;
  auto size = FileSize(file);
  if (!size) return false;
  std::vector<std::uint8_t> buffer(kMoveChunk);
  std::uint64_t from = tailFrom;
  while (from < *size) {
    std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(kMoveChunk, *size - from));
    if (!SeekTo(file, from) || !ReadBytes(file, buffer.data(), chunk)) return false;
    if (!SeekTo(file, from - length) || !WriteBytes(file, buffer.data(), chunk)) return false;
    from += chunk;
  }
  std::uint64_t newSize = *size >= tailFrom ? *size - length : tailFrom - length;
  return TruncateFile(file, newSize);
}

bool ResourceFile::WriteResource(RefNum ref, ResType type, std::uint32_t id,
                                 std::span<const std::uint8_t> data, std::string_view name) {
  Slot* slot = FindOrComplain(ref);
  if (!slot) return false;
  slot->dirty = true;
  if (name.size() > kMaxNameLength) {
    rt_.ui.ShowNote(
        "CLVlib:WriteResource - resource name longer than 255 characters; not written.");
    return false;
  }
  // A name is stored up to its first NUL.
  name = name.substr(0, std::min(name.size(), name.find('\0')));
  if (data.size() > 0xFFFFFFFFull) {
    rt_.ui.ShowNote("CLVlib:WriteResource - resource too large; not written.");
    return false;
  }
  std::uint32_t length = static_cast<std::uint32_t>(data.size());

  auto existing = FindEntry(*slot, type, id);
  if (existing) {
    std::uint8_t* e = EntryAt(slot->header, *existing);
    if (EntryLength(e) == length) {
      FileHandle file = OpenFileRW(slot->path);
      if (!file) {
        rt_.ui.ShowNote("CLVlib:WriteResource - error opening file.");
        return false;
      }
      if (length > 0 && (!SeekTo(file, kHeaderSize + std::uint64_t{EntryStart(e)}) ||
                         !WriteBytes(file, data.data(), length))) {
        rt_.ui.ShowNote("CLVlib:WriteResource - error writing file.");
        return false;
      }
      SetEntryName(e, name);
      return true;
    }
  }

  std::uint32_t n = Count(slot->header);
  if (!existing && n >= kCapacity) {
    rt_.ui.ShowNote("CLVlib:WriteResource - the file already holds 1500 resources; not written.");
    return false;
  }
  // Check the data area can grow before anything changes.
  {
    std::uint64_t used = 0;
    for (std::uint32_t i = 0; i < n; ++i) {
      if (existing && i == *existing) continue;
      used += EntryLength(EntryAt(slot->header, i));
    }
    if (used + length > 0xFFFFFFFFull) {
      rt_.ui.ShowNote("CLVlib:WriteResource - resource too large; not written.");
      return false;
    }
  }
  FileHandle probe = OpenFileRW(slot->path);
  if (!probe) {
    rt_.ui.ShowNote("CLVlib:WriteResource - error opening file.");
    return false;
  }
  CloseFile(probe);

  if (existing && !RemoveEntry(*slot, *existing)) {
    rt_.ui.ShowNote("CLVlib:WriteResource - error writing file.");
    return false;
  }
  n = Count(slot->header);
  // end + 1 in 32-bit arithmetic is also right after a zero-length entry,
  // whose end is start - 1.
  std::uint32_t start = n == 0 ? 0 : EntryEnd(EntryAt(slot->header, n - 1)) + 1;
  std::uint8_t* e = EntryAt(slot->header, n);
  std::memset(e, 0, kEntrySize);
  StoreLE32(e, id);
  StoreLE32(e + 4, type);
  StoreBE32(e + 8, start);
  StoreBE32(e + 12, start + length - 1);
  SetEntryName(e, name);

  FileHandle file = OpenFileRW(slot->path);
  if (!file || (length > 0 && (!SeekTo(file, kHeaderSize + std::uint64_t{start}) ||
                               !WriteBytes(file, data.data(), length)))) {
    std::memset(e, 0, kEntrySize);
    rt_.ui.ShowNote("CLVlib:WriteResource - error writing file.");
    return false;
  }
  SetCount(slot->header, n + 1);
  return true;
}

void ResourceFile::DeleteResource(RefNum ref, ResType type, std::uint32_t id) {
  Slot* slot = FindOrComplain(ref);
  if (!slot) return;
  auto index = FindEntry(*slot, type, id);
  if (!index) return;
  RemoveEntry(*slot, *index);
}

std::uint32_t ResourceFile::CountResourcesOfType(RefNum ref, ResType type) {
  Slot* slot = FindOrComplain(ref);
  if (!slot) return 0;
  std::uint32_t n = Count(slot->header), found = 0;
  for (std::uint32_t i = 0; i < n; ++i) {
    if (EntryType(EntryAt(slot->header, i)) == type) ++found;
  }
  return found;
}

int ResourceFile::ChangeResourceInfo(RefNum ref, ResType type, std::uint32_t id,
                                     std::string_view newName, ResType newType,
                                     std::uint32_t newId) {
  Slot* slot = FindOrComplain(ref);
  if (!slot) return -1;
  auto index = FindEntry(*slot, type, id);
  if (!index) return -1;
  if (newName.size() > kMaxNameLength) {
    rt_.ui.ShowNote("CLVlib:ChangeResourceInfo - resource name longer than 255 characters.");
    return -1;
  }
  slot->dirty = true;
  std::uint8_t* e = EntryAt(slot->header, *index);
  if (!newName.empty()) SetEntryName(e, newName);
  StoreLE32(e, newId);
  StoreLE32(e + 4, newType);
  return 0;
}

std::optional<std::string> ResourceFile::GetResFilePath(RefNum ref) {
  Slot* slot = Find(ref);
  if (!slot) {
    rt_.ui.ShowNote("CLVlib:Can't find refnum index for name");
    return std::nullopt;
  }
  return slot->path;
}

std::vector<ResourceEntry> ResourceFile::Entries(RefNum ref) const {
  std::vector<ResourceEntry> out;
  const Slot* slot = Find(ref);
  if (!slot) return out;
  std::uint32_t n = Count(slot->header);
  out.reserve(n);
  for (std::uint32_t i = 0; i < n; ++i) {
    const std::uint8_t* e = EntryAt(slot->header, i);
    out.push_back({EntryId(e), EntryType(e), EntryStart(e), EntryEnd(e), EntryName(e)});
  }
  return out;
}

std::size_t ResourceFile::OpenFileCount() const {
  return static_cast<std::size_t>(
      std::count_if(slots_.begin(), slots_.end(), [](const Slot& s) { return s.open; }));
}

}  // namespace ws
