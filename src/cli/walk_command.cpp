#include "cli/walk_command.h"

#include <charconv>
#include <nlohmann/json.hpp>

#include "cli/help_text.h"
#include "cli/png_file.h"
#include "cli/render_command.h"
#include "editor/view/display_options.h"
#include "walk/walk_session.h"

namespace ws::cli {
namespace {

std::optional<walk::WalkKey> HeldKeyByName(std::string_view name) {
  using walk::WalkKey;
  if (name == "up") return WalkKey::kUp;
  if (name == "down") return WalkKey::kDown;
  if (name == "left") return WalkKey::kLeft;
  if (name == "right") return WalkKey::kRight;
  if (name == "pageup") return WalkKey::kPageUp;
  if (name == "pagedown") return WalkKey::kPageDown;
  return std::nullopt;
}

bool ParseCount(std::string_view text, int& n) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  return !text.empty() && ec == std::errc() && end == text.data() + text.size() && n >= 1 &&
         n <= kWalkMaxStepFrames;
}

std::optional<WalkScriptStep> ParseStep(std::string_view text, std::string& error) {
  WalkScriptStep step;
  const std::size_t star = text.find('*');
  const std::string_view name = text.substr(0, star);
  if (star != std::string_view::npos && !ParseCount(text.substr(star + 1), step.frames)) {
    error = "bad frame count in step \"" + std::string(text) + "\": expected *N, N from 1 to " +
            std::to_string(kWalkMaxStepFrames);
    return std::nullopt;
  }
  if (const std::optional<walk::WalkKey> key = HeldKeyByName(name)) {
    step.kind = WalkScriptStep::Kind::kHold;
    step.key = *key;
    return step;
  }
  if (name == "none") return step;
  if (name == "space" || name == "wheel+1" || name == "wheel-1") {
    if (star != std::string_view::npos) {
      error = "step \"" + std::string(text) + "\" runs one frame and takes no *N";
      return std::nullopt;
    }
    step.kind = name == "space" ? WalkScriptStep::Kind::kSpace : WalkScriptStep::Kind::kWheel;
    step.notch = name == "wheel+1" ? 1 : name == "wheel-1" ? -1 : 0;
    return step;
  }
  error = "unknown step \"" + std::string(text) +
          "\": expected up, down, left, right, pageup, pagedown or none (each with an optional "
          "*N), space, wheel+1 or wheel-1";
  return std::nullopt;
}

}  // namespace

std::optional<std::vector<WalkScriptStep>> ParseWalkScript(const std::string& text,
                                                           std::string& error) {
  std::vector<WalkScriptStep> steps;
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    const std::string_view part = std::string_view(text).substr(
        start, comma == std::string::npos ? std::string::npos : comma - start);
    std::optional<WalkScriptStep> step = ParseStep(part, error);
    if (!step) return std::nullopt;
    steps.push_back(*step);
    if (comma == std::string::npos) return steps;
    start = comma + 1;
  }
}

std::optional<WalkOptions> ParseWalkArgs(const std::vector<std::string>& args, std::ostream& err) {
  WalkOptions o;
  std::vector<std::string> positional;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--hide-environment") {
      o.hideEnvironment = true;
    } else if (a == "--size" || a == "--frames" || a == "--png") {
      if (i + 1 >= args.size()) {
        err << "wirestead-cli: " << a << " needs a value\n" << CommandUsage("walk");
        return std::nullopt;
      }
      const std::string& value = args[++i];
      std::string error;
      if (a == "--png") {
        o.png = value;
      } else if (a == "--size" && !ParseSizeOption(value, o.width, o.height, err)) {
        return std::nullopt;
      } else if (a == "--frames") {
        std::optional<std::vector<WalkScriptStep>> script = ParseWalkScript(value, error);
        if (!script) {
          err << "wirestead-cli: bad walk script: " << error << "\n";
          return std::nullopt;
        }
        o.script = std::move(*script);
      }
    } else if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
      err << "wirestead-cli: unknown walk option " << a << "\n" << CommandUsage("walk");
      return std::nullopt;
    } else {
      positional.push_back(a);
    }
  }
  if (positional.size() != 1) {
    err << CommandUsage("walk");
    return std::nullopt;
  }
  o.input = positional[0];
  return o;
}

int RunWalk(Model& model, const WalkOptions& options, std::ostream& out, std::ostream& err) {
  if (!model.tables.allocated() || !model.colors.valid) {
    err << "wirestead-cli: no object to walk through\n";
    return 1;
  }
  Surface8 surface;
  if (!surface.Create(model.rt.memory, options.width, options.height)) {
    err << "wirestead-cli: not enough memory for a " << options.width << "x" << options.height
        << " picture\n";
    return 1;
  }
  surface.SetPalette(model.colors.current);

  const walk::WalkDisplay display =
      walk::WalkDisplayFor(model, DisplayOptions{}, options.hideEnvironment);
  walk::WalkSession session(model);
  if (!session.Start(options.width, options.height, display)) return 1;

  int frames = 0;
  auto frame = [&] {
    session.Frame(surface.Target(), -1, -1, 0, 0);
    ++frames;
  };
  std::vector<WalkScriptStep> script = options.script;
  if (script.empty()) script.push_back(WalkScriptStep{});
  for (const WalkScriptStep& step : script) {
    walk::WalkViewer& viewer = session.world().viewer;
    switch (step.kind) {
      case WalkScriptStep::Kind::kHold:
        walk::SetWalkKey(viewer, step.key, true);
        for (int i = 0; i < step.frames; ++i) frame();
        walk::SetWalkKey(session.world().viewer, step.key, false);
        break;
      case WalkScriptStep::Kind::kNone:
        for (int i = 0; i < step.frames; ++i) frame();
        break;
      case WalkScriptStep::Kind::kSpace:
        walk::TypeWalkChar(viewer, ' ');
        frame();
        break;
      case WalkScriptStep::Kind::kWheel:
        walk::WalkWheel(viewer, step.notch);
        frame();
        break;
    }
  }

  if (options.png) {
    std::string error;
    if (!WriteIndexedPng(*options.png, surface, surface.Bounds(), error)) {
      err << "wirestead-cli: can't write " << *options.png << ": " << error << "\n";
      return 1;
    }
  }
  const walk::WalkViewer& v = session.viewer();
  nlohmann::ordered_json state = {{"x", v.x},
                                  {"y", v.y},
                                  {"eye", v.z},
                                  {"ground", v.ground},
                                  {"heading", v.heading},
                                  {"vx", v.vx},
                                  {"vy", v.vy},
                                  {"vz", v.vz},
                                  {"omega", v.omega},
                                  {"inside", v.insideItem >= 0},
                                  {"zone", v.zonePolygon},
                                  {"frames", frames}};
  out << state.dump() << "\n";
  return 0;
}

}  // namespace ws::cli
