#include "model/autosave.h"

#include <cstring>
#include <span>

#include "model/cluster.h"
#include "model/object_resources.h"

namespace ws {
namespace {

// Eight bytes at a time with a multiply-and-shift mix: the digest only tells
// "changed" from "unchanged" (it guards nothing against an adversary), and
// a full object's faces are megabytes, hashed on the editor's tick.
void Mix(std::uint64_t& h, std::span<const std::uint8_t> bytes) {
  auto step = [&h](std::uint64_t w) {
    h = (h ^ w) * 0x9E3779B97F4A7C15ull;
    h ^= h >> 29;
  };
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t w;
    std::memcpy(&w, bytes.data() + i, 8);
    step(w);
  }
  std::uint64_t tail = 0;
  for (std::size_t k = 0; i < bytes.size(); ++i, ++k) tail |= std::uint64_t{bytes[i]} << (8 * k);
  step(tail);
  // The length too, so that bytes moving from one resource to the next
  // count as a change.
  step(bytes.size());
}

}  // namespace

std::uint64_t ObjectFingerprint(const Model& model) {
  const ObjectTables& t = model.tables;
  std::uint64_t h = 0xCBF29CE484222325ull;
  Mix(h, EncodePinf(model.objectWord, t.userVectorCount(), t.userPointCount(), t.polygonCount));
  Mix(h, EncodePoints(t));
  Mix(h, EncodeVectors(t));
  Mix(h, EncodeFaces(t));
  Mix(h, EncodeAnim(model.animation));
  return h;
}

AutosaveResult AutosaveTick(Model& model, AutosaveState& state,
                            std::chrono::steady_clock::time_point now) {
  if (!model.tables.allocated() || model.cluster.current >= model.cluster.objectNames.size()) {
    return AutosaveResult::kNotDue;
  }
  if (!state.started) {
    state.started = true;
    state.due = now + state.interval;
    return AutosaveResult::kNotDue;
  }
  if (now < state.due) return AutosaveResult::kNotDue;
  state.due = now + state.interval;
  const std::uint64_t fingerprint = ObjectFingerprint(model);
  if (state.haveFingerprint && fingerprint == state.stored) return AutosaveResult::kUnchanged;
  const std::uint32_t index = model.cluster.current;
  if (!StoreObject(model, index, model.cluster.objectNames[index])) {
    if (state.failures < 4) ++state.failures;  // waits of 2, 4, 8, then 16 intervals
    state.due = now + state.interval * (1 << state.failures);
    return AutosaveResult::kFailed;
  }
  state.failures = 0;
  state.stored = fingerprint;
  state.haveFingerprint = true;
  return AutosaveResult::kStored;
}

}  // namespace ws
