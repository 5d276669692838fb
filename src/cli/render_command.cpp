#include "cli/render_command.h"

#include <algorithm>
#include <charconv>
#include <sstream>

#include "cli/help_text.h"
#include "cli/png_file.h"
#include "cli/walk_command.h"
#include "editor/view/display.h"
#include "editor/view/software_view.h"
#include "model/glyph_store.h"

namespace ws::cli {

namespace {

std::optional<int> ViewByName(const std::string& name) {
  if (name == "front") return kViewFront;
  if (name == "back") return kViewBack;
  if (name == "left") return kViewLeft;
  if (name == "right") return kViewRight;
  if (name == "top") return kViewTop;
  if (name == "bottom") return kViewBottom;
  return std::nullopt;
}

bool ParseSide(std::string_view text, int& value) {
  if (text.empty()) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size() && value >= 1 &&
         value <= kRenderMaxSide;
}

bool ParseSize(const std::string& text, int& width, int& height) {
  const std::size_t x = text.find('x');
  if (x == std::string::npos) return false;
  return ParseSide(std::string_view(text).substr(0, x), width) &&
         ParseSide(std::string_view(text).substr(x + 1), height);
}

// Writes the presented rectangle to the output file.
class PngPresenter final : public Presenter {
 public:
  explicit PngPresenter(std::string path) : path_(std::move(path)) {}
  void Show(const Surface8& bitmap, const IntRect& source, const IntRect&) override {
    shown_ = true;
    written_ = WriteIndexedPng(path_, bitmap, source, error_);
  }
  bool shown() const { return shown_; }
  bool written() const { return written_; }
  const std::string& error() const { return error_; }

 private:
  std::string path_;
  std::string error_;
  bool shown_ = false;
  bool written_ = false;
};

}  // namespace

bool ParseSizeOption(const std::string& text, int& width, int& height, std::ostream& err) {
  if (ParseSize(text, width, height)) return true;
  err << "wirestead-cli: bad size " << text << ": expected WxH, each side from 1 to "
      << kRenderMaxSide << "\n";
  return false;
}

std::optional<RenderOptions> ParseRenderArgs(const std::vector<std::string>& args,
                                             std::ostream& err) {
  RenderOptions o;
  std::vector<std::string> positional;
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--walk") {
      o.walk = true;
    } else if (a == "--perspective") {
      o.perspective = true;
    } else if (a == "--view" || a == "--size") {
      if (i + 1 >= args.size()) {
        err << "wirestead-cli: " << a << " needs a value\n" << CommandUsage("render");
        return std::nullopt;
      }
      const std::string& value = args[++i];
      if (a == "--view") {
        const std::optional<int> view = ViewByName(value);
        if (!view) {
          err << "wirestead-cli: unknown view " << value
              << ": expected front, back, left, right, top or bottom\n";
          return std::nullopt;
        }
        o.view = *view;
      } else if (!ParseSizeOption(value, o.width, o.height, err)) {
        return std::nullopt;
      }
    } else if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
      err << "wirestead-cli: unknown render option " << a << "\n" << CommandUsage("render");
      return std::nullopt;
    } else {
      positional.push_back(a);
    }
  }
  if (positional.size() != 2) {
    err << CommandUsage("render");
    return std::nullopt;
  }
  o.input = positional[0];
  o.output = positional[1];
  return o;
}

int RunRender(Model& model, const RenderOptions& options, std::ostream& err) {
  if (options.walk) {
    // The walk view's first frame, as `walk IN --png OUT` draws it.
    WalkOptions walk;
    walk.input = options.input;
    walk.width = options.width;
    walk.height = options.height;
    walk.png = options.output;
    std::ostringstream state;
    return RunWalk(model, walk, state, err);
  }
  ObjectTables& t = model.tables;
  if (!t.allocated() || !model.colors.valid) {
    err << "wirestead-cli: no object to render\n";
    return 1;
  }
  if (model.glyphs.glyphs.empty()) {
    LoadGlyphs(model.resources, model.paths.preferences, model.ui(), model.glyphs);
  }
  for (std::uint32_t i = kReservedVectors; i < t.vectorCount; ++i)
    t.vectors[i].selected = kUnselected;
  std::fill(t.polygonSelected.begin(), t.polygonSelected.end(), kUnselected);

  EditorDisplay display(model);
  const FixedClock stopped(0);
  display.clock = &stopped;
  display.options = DisplayOptions{};
  display.options.perspective = options.perspective;
  display.labels.SetAxisLabels(model.colors.drawing);
  ResetViewForObject(model.view, display.view);
  TurnToView(model.view, options.view, nullptr);
  display.layout = LayoutForAreaSize(options.width, options.height);
  if (!display.CreateSurface()) {
    err << "wirestead-cli: not enough memory for a " << options.width << "x" << options.height
        << " picture\n";
    return 1;
  }
  SoftwareEditView view(display);
  if (!view.Allocate()) {
    err << "wirestead-cli: not enough memory to draw\n";
    return 1;
  }
  display.frame.firstLayoutPending = false;
  PngPresenter presenter(options.output);
  view.SetPresenter(&presenter);
  view.ProjectAll();
  view.DrawFrame(0);
  view.Present(display.layout.local, display.layout.editArea);
  if (!presenter.written()) {
    err << "wirestead-cli: can't write " << options.output << ": " << presenter.error() << "\n";
    return 1;
  }
  return 0;
}

}  // namespace ws::cli
