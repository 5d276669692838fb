// wirestead-cli walk IN [--size WxH] [--frames SCRIPT] [--png OUT.png]
//                       [--hide-environment]
//
// Walk mode without a window: builds the walk world for the current object
// (the first object of a cluster) at WxH (default 800x600, each side 1 to
// 8192), plays SCRIPT one frame after another, prints the viewer's final
// state as JSON on stdout and, with --png, writes the last frame as an
// 8-bit palettised PNG with the current colour table.
//
// SCRIPT is comma-separated steps run in order:
//   KEY*N    KEY (up, down, left, right, pageup, pagedown) held for N
//            frames: one key-down before the first, the key-up after the
//            last, no key repeat (so pageup*N climbs one step);
//   none*N   N frames with nothing held;
//   space    one space typed, then one frame;
//   wheel+1, wheel-1   one notch of the wheel, then one frame.
// "*N" (N from 1 to kWalkMaxStepFrames) may be left out for one frame.
// Without --frames one frame is drawn.
//
// JSON: {"x","y","eye","ground","heading","vx","vy","vz","omega" (doubles
// with full precision), "inside" (bool), "zone" (view-zone polygon, -1
// none), "frames" (frames run)}. Exit 1 with a message on a bad argument or
// script, or an object the walk world refuses.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "model/model.h"
#include "walk/walk_motion.h"

namespace ws::cli {

inline constexpr int kWalkMaxStepFrames = 100000;

struct WalkScriptStep {
  enum class Kind { kHold, kNone, kSpace, kWheel };
  Kind kind = Kind::kNone;
  walk::WalkKey key = walk::WalkKey::kUp;  // kHold
  int notch = 0;                           // kWheel: +1 or -1
  int frames = 1;
};

struct WalkOptions {
  std::string input;
  int width = 800;
  int height = 600;
  std::vector<WalkScriptStep> script;  // empty: one frame
  std::optional<std::string> png;
  bool hideEnvironment = false;
};

// The steps of a script; no value, with the reason in `error`, when it is
// malformed.
std::optional<std::vector<WalkScriptStep>> ParseWalkScript(const std::string& text,
                                                           std::string& error);
// args[0] is "walk".
std::optional<WalkOptions> ParseWalkArgs(const std::vector<std::string>& args, std::ostream& err);

int RunWalk(Model& model, const WalkOptions& options, std::ostream& out, std::ostream& err);

}  // namespace ws::cli
