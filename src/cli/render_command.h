// wirestead-cli render IN OUT.png [--view front|back|left|right|top|bottom]
//                                 [--size WxH] [--walk] [--perspective]
//
// Draws one frame of the current object (the first object of a cluster)
// with the editor's software view and writes it as an 8-bit palettised PNG
// with the current colour table. The frame is the EditArea of WxH pixels
// (default 800x600, each side 1 to 8192): scale 1.0, no pan, Grid, Axis,
// Vectors and Polygons on, thick lines off, nothing selected or hovered,
// ants phase 0, the axis labels drawn with the font of the Preferences
// file. --view turns from Front as the view letters do; --perspective
// turns perspective on. --walk draws the walk view's first frame instead
// (walk_command.h), from the walk's start position.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "model/model.h"

namespace ws::cli {

inline constexpr int kRenderMaxSide = 8192;

struct RenderOptions {
  std::string input;
  std::string output;
  int view = kViewFront;
  int width = 800;
  int height = 600;
  bool walk = false;
  bool perspective = false;
};

// The value of --size: "WxH", each side from 1 to kRenderMaxSide; false,
// with the message on `err`, when malformed.
bool ParseSizeOption(const std::string& text, int& width, int& height, std::ostream& err);

// Parses the arguments of the command (args[0] is "render"). No value, with
// a message on `err`, when they are malformed.
std::optional<RenderOptions> ParseRenderArgs(const std::vector<std::string>& args,
                                             std::ostream& err);

// Renders the current object of `model`, which the caller has opened, and
// writes options.output. Returns the exit status (0 or 1, with a message
// on `err`). The object's selection marks are cleared for the picture.
int RunRender(Model& model, const RenderOptions& options, std::ostream& err);

}  // namespace ws::cli
