#include "import/readers/3dmf/metafile_reader.h"

#include <cstring>

#include "import/readers/3dmf/metafile_stream.h"
#include "import/readers/bounded_reader.h"

namespace ws::metafile {

std::size_t TriMeshIndexWidth(std::uint32_t pointCount) {
  if (pointCount <= 0xFF) return 1;
  if (pointCount <= 0xFFFF) return 2;
  return 4;
}

std::string StoppedAtLine(std::uint64_t position) {
  return "3DMF: reading stopped at byte " + std::to_string(position) +
         ", which does not start an object; the objects before it were kept";
}

int StreamReader::ReadNextObject(MetafileObject& out) {
  for (;;) {
    if (ended_) return kEndOfMetafile;
    Frame& f = frames_.back();
    if (f.done) {
      frames_.pop_back();  // the file's own frame is never done
      continue;
    }
    out = MetafileObject{};
    if (!f.containers.empty() && f.pos >= f.containers.back().childEnd) {
      f.pos = f.containers.back().after;
      f.containers.pop_back();
      if (f.single && f.containers.empty()) f.done = true;
      out.type = kEndContainer;
      return kOk;
    }
    const bool topLevel = frames_.size() == 1 && f.containers.empty();
    const std::size_t limit = f.containers.empty() ? f.end : f.containers.back().childEnd;
    if (topLevel && f.pos >= limit) {
      ended_ = true;
      return kEndOfMetafile;
    }
    Parsed p;
    const int status = Parse(f.pos, limit, out, p);
    if (status != kOk) {
      if (!topLevel) return status;
      // Padding or other bytes after the last object: keep what was read.
      ended_ = true;
      if (log_) log_(StoppedAtLine(BytePosition(f.pos)));
      return kEndOfMetafile;
    }
    if (p.kind == Parsed::kContainer) {
      f.containers.push_back({p.childEnd, p.next});
      f.pos = p.childStart;
      out.type = kContainer;
      return kOk;
    }
    f.pos = p.next;
    if (f.single && f.containers.empty()) f.done = true;
    if (p.kind == Parsed::kObject) return kOk;
  }
}

int StreamReader::ResolveReference(const MetafileObject& reference, const MetafileObject* storage) {
  if (reference.type != kReference) return kNotReference;
  if (reference.referenceId == 0) return storage ? kReferenceNotFound : kReferenceWithoutId;
  if (frames_.size() > kMaxReferenceDepth || resolved_ >= kMaxResolvedReferences) {
    return kReferenceTooDeep;
  }
  std::size_t pos = 0;
  if (!Lookup(reference.referenceId, pos)) return kReferenceNotFound;
  ++resolved_;
  frames_.push_back({pos, frames_.front().end, {}, true, false});
  return kOk;
}

int OpenMetafile(std::vector<std::uint8_t> bytes, std::unique_ptr<MetafileReader>& reader,
                 LogLine log) {
  reader.reset();
  int status = kNotAMetafile;
  const auto starts = [&](const char* magic) {
    const std::size_t n = std::strlen(magic);
    return bytes.size() >= n && std::memcmp(bytes.data(), magic, n) == 0;
  };
  if (starts("3DMF")) {
    reader = MakeBinaryReader(std::move(bytes), false, std::move(log), status);
  } else if (starts("FMD3")) {
    reader = MakeBinaryReader(std::move(bytes), true, std::move(log), status);
  } else if (starts("3DMetafile")) {
    reader = MakeTextReader(std::move(bytes), std::move(log), status);
  }
  if (status != kOk) reader.reset();
  return status;
}

int OpenMetafileFile(const std::string& path, std::unique_ptr<MetafileReader>& reader,
                     LogLine log) {
  std::optional<std::vector<std::uint8_t>> bytes = ReadImportFile(path);
  if (!bytes) {
    reader.reset();
    return kCannotOpen;
  }
  return OpenMetafile(std::move(*bytes), reader, std::move(log));
}

}  // namespace ws::metafile
