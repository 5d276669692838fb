// Autosave: while the editor runs, the current object is stored into the
// working cluster file at most once a minute, and only when what would be
// stored differs from what was stored last. A crash then loses at most a
// minute of work: the next start copies the working file to the backup,
// and "Restore Last Session" brings it back.
#pragma once

#include <chrono>
#include <cstdint>

#include "model/model.h"

namespace ws {

inline constexpr std::chrono::seconds kAutosaveInterval{60};

// A 64-bit digest of exactly the bytes a store would write for the current
// object (its 'PINF', 'PNTS', 'TVCT', 'FACE' and 'ANIM' contents), so any
// change that reaches the file changes it.
std::uint64_t ObjectFingerprint(const Model& model);

struct AutosaveState {
  std::chrono::seconds interval = kAutosaveInterval;
  // The first tick only starts the clock. The first check after it always
  // stores: what the editor opened since start-up (a file named on the
  // command line, say) may not be in the working file yet.
  bool started = false;
  std::chrono::steady_clock::time_point due;
  bool haveFingerprint = false;
  std::uint64_t stored = 0;    // the fingerprint at the last store
  std::uint32_t failures = 0;  // stores failed in a row
};

enum class AutosaveResult { kNotDue, kUnchanged, kStored, kFailed };

// Called on every tick with the current time: once `interval` has passed
// since the clock started or since the last check, stores the current
// object under its own index and name when its fingerprint changed. A
// failed store (the working file cannot be opened, or it is full; the store
// says why, in message boxes) is tried again after twice the wait before it,
// 2, 4, 8 and then every 16 intervals, so that a lasting failure does not
// interrupt the user every minute; a store that succeeds restores the
// interval.
AutosaveResult AutosaveTick(Model& model, AutosaveState& state,
                            std::chrono::steady_clock::time_point now);

}  // namespace ws
