#include "cli/help_text.h"

#include <sstream>
#include <string_view>

namespace ws::cli {
namespace {

constexpr std::string_view kProgram = "wirestead-cli";
constexpr std::string_view kGlobal = "[--prefs PATH]";

struct Entry {
  std::string_view term;  // a command's arguments, or an option
  std::string_view text;  // paragraphs separated by "\n"
};

constexpr std::string_view kSummary = "command-line front end of the Wirestead 3D object editor";

constexpr std::string_view kDescription =
    "wirestead-cli opens the editor's own files (.wdo objects, .wdc clusters) and every "
    "format the editor imports (RAW, OBJ, NFF, DXF, 3DS, COB, X, VRML), and reports, "
    "checks, converts, renders, edits or walks through them with the same code as the editor, "
    "without a window.\n"
    "It works in a private temporary base directory holding a copy of the Preferences "
    "file, removed when it ends, so the editor's own files are never touched. Results go "
    "to standard output, messages to standard error.";

constexpr Entry kCommands[] = {
    {"info FILE", "Prints a JSON summary of the objects in FILE."},
    {"dump FILE", "Prints every point, vector and polygon of FILE as JSON."},
    {"convert IN OUT",
     "Opens IN and writes OUT: a .wdo object, a .wdc cluster, a .x DirectX text file, a "
     ".gltf or .glb glTF 2.0 file, a .obj Wavefront file (with its .mtl beside it) as Save "
     "Object As writes them, or an existing directory, which receives one .wdo file per "
     "object."},
    {"render IN OUT.png [--view V] [--size WxH] [--walk] [--perspective]",
     "Draws the first object of IN with the editor's software view and writes it as an "
     "8-bit palettised PNG in the current colour table: grid, axis, vectors and polygons "
     "on, nothing selected. V is front, back, left, right, top or bottom (default front); "
     "WxH is the picture size, default 800x600, each side 1 to 8192; --perspective turns "
     "perspective on; --walk draws the walk view's first frame from the walk's start "
     "position instead."},
    {"edit IN OUT COMMAND...",
     "Applies editor commands in order to the first object of IN, each through the same "
     "code as its menu command, then saves the result as convert does. Vectors and "
     "polygons are numbered as in files. The commands: select-all, unselect, "
     "select-vectors:I,J,..., select-polygons:I,J,..., grid:N, rotate-x-45, rotate-x-90, "
     "rotate-y-45, rotate-y-90, flip-vertical, flip-horizontal, flip-front-back, "
     "duplicate, connect-copy, delete, remove-duplicates, define-polygon, tessellate, "
     "flip-faces, clear-view-zones, undo, cube:H,W,D,ox,oy,oz[,vectors-only], "
     "circle:N,D,ox,oy,oz[,vectors-only], cylinder:N,H,D,ox,oy,oz[,vectors-only], "
     "sphere:V,H,D,ox,oy,oz[,vectors-only]."},
    {"check FILE",
     "Checks every object of FILE for what will not work in walk mode or elsewhere and "
     "prints the findings as JSON: per object its name and a list of findings, each with "
     "kind, message, polygons, vectors and points (numbered as dump numbers them). The "
     "kinds: collision-without-entrance, several-collision, several-entrance, "
     "too-many-view-zones (only 10 act), broken-reference, view-zone-entry-missing, "
     "view-zone-entry-self, missing-group-leader, degenerate (fewer than 3 distinct points "
     "or no area), not-coplanar (a point more than 1 unit off the polygon's plane), "
     "not-convex, unused-vectors (in no polygon), unused-points (in no vector and no "
     "polygon) and coincident-points (what Remove Duplicate Geometry would merge). Exit "
     "status 3 when anything is found."},
    {"walk IN [--size WxH] [--frames SCRIPT] [--png OUT.png] [--hide-environment]",
     "Walk mode without a window: builds the walk world for the first object of IN at WxH "
     "(default 800x600), plays SCRIPT one frame after another and prints the viewer's "
     "final state as JSON: x, y, eye, ground, heading, vx, vy, vz, omega (doubles in full "
     "precision), inside, zone (the view-zone polygon the viewer stands in, -1 for none) "
     "and frames (the frames run). --png writes the last frame as render does; "
     "--hide-environment draws a black background instead of the sky and ground.\n"
     "SCRIPT is comma-separated steps: KEY*N holds KEY (up, down, left, right, pageup, "
     "pagedown) for N frames as a person would, one key-down before the first frame and "
     "the key-up after the last, so pageup*5 climbs one step; none*N runs N frames with "
     "nothing held; space types a space (back to eye height 15) and runs a frame; wheel+1 "
     "and wheel-1 turn the wheel one notch and run a frame. *N may be left out for one "
     "frame. Without --frames one frame is drawn."},
};

constexpr Entry kOptions[] = {
    {"--prefs PATH",
     "The Preferences file to copy into the private base directory. Without it the "
     "program looks beside itself, then in ../share/wirestead, then at the top of the "
     "build tree."},
    {"--help", "Prints this text and exits."},
};

constexpr Entry kExitStatus[] = {
    {"0", "Success."},
    {"1",
     "A bad command line, a file that cannot be read or written, or input the editor "
     "refuses; the reason is on standard error."},
    {"3", "check found something in at least one object."},
};

constexpr Entry kExamples[] = {
    {"wirestead-cli info tower.wdc", "Lists the objects of a cluster."},
    {"wirestead-cli convert model.3ds model.wdo", "Imports a 3D Studio file."},
    {"wirestead-cli render cube.wdo cube.png --view top --size 400x300",
     "Draws the object from above."},
    {"wirestead-cli walk cube.wdo --frames up*100,left*10 --png walk.png",
     "Walks forward 100 frames, turns for 10 and keeps the last frame."},
};

// Appends `text` word-wrapped to `width` columns, each line indented by
// `indent` spaces.
void Wrap(std::ostringstream& out, std::string_view text, std::size_t indent, std::size_t width) {
  std::size_t column = 0;
  while (!text.empty()) {
    const std::size_t end = text.find(' ');
    const std::string_view word = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (column > indent && column + 1 + word.size() > width) {
      out << '\n';
      column = 0;
    }
    if (column == 0) {
      out << std::string(indent, ' ');
      column = indent;
    } else {
      out << ' ';
      ++column;
    }
    out << word;
    column += word.size();
  }
  out << '\n';
}

// Calls f(paragraph) for each "\n"-separated paragraph of `text`.
template <typename F>
void ForEachParagraph(std::string_view text, F f) {
  while (true) {
    const std::size_t end = text.find('\n');
    f(text.substr(0, end));
    if (end == std::string_view::npos) return;
    text = text.substr(end + 1);
  }
}

void HelpSection(std::ostringstream& out, std::string_view title, const auto& entries,
                 std::string_view prefix) {
  out << '\n' << title << ":\n";
  for (const Entry& e : entries) {
    out << "  " << prefix << e.term << '\n';
    bool first = true;
    ForEachParagraph(e.text, [&](std::string_view p) {
      if (!first) out << '\n';
      Wrap(out, p, 6, 79);
      first = false;
    });
  }
}

// Text for roff: backslashes and hyphens escaped, a leading dot or quote
// kept from being read as a request.
std::string Roff(std::string_view text) {
  std::string s;
  for (char c : text) {
    if (c == '\\') {
      s += "\\e";
    } else if (c == '-') {
      s += "\\-";
    } else {
      s += c;
    }
  }
  if (!s.empty() && (s[0] == '.' || s[0] == '\'')) s.insert(0, "\\&");
  return s;
}

void ManSection(std::ostringstream& out, std::string_view title, const auto& entries,
                std::string_view prefix) {
  out << ".SH " << title << '\n';
  for (const Entry& e : entries) {
    out << ".TP\n.B " << Roff(prefix) << Roff(e.term) << '\n';
    bool first = true;
    ForEachParagraph(e.text, [&](std::string_view p) {
      if (!first) out << ".IP\n";
      out << Roff(p) << '\n';
      first = false;
    });
  }
}

}  // namespace

std::string UsageText() {
  std::ostringstream out;
  bool first = true;
  for (const Entry& c : kCommands) {
    out << (first ? "usage: " : "       ") << kProgram << ' ' << kGlobal << ' ' << c.term << '\n';
    first = false;
  }
  out << "       " << kProgram << " --help\n";
  return out.str();
}

std::string CommandUsage(std::string_view command) {
  for (const Entry& c : kCommands) {
    if (c.term.substr(0, c.term.find(' ')) == command) {
      return "usage: " + std::string(kProgram) + ' ' + std::string(kGlobal) + ' ' +
             std::string(c.term) + '\n';
    }
  }
  return UsageText();
}

std::string HelpText() {
  std::ostringstream out;
  out << kProgram << " - " << kSummary << "\n\n" << UsageText() << '\n';
  ForEachParagraph(kDescription, [&](std::string_view p) { Wrap(out, p, 0, 79); });
  HelpSection(out, "Commands", kCommands, "");
  HelpSection(out, "Options", kOptions, "");
  HelpSection(out, "Exit status", kExitStatus, "");
  HelpSection(out, "Examples", kExamples, "$ ");
  return out.str();
}

std::string ManPage() {
  std::ostringstream out;
  // No hyphenation and a ragged right edge: command names must stay whole.
  out << ".TH WIRESTEAD-CLI 1 \"\" \"Wirestead\" \"User Commands\"\n.nh\n.ad l\n"
      << ".SH NAME\n"
      << Roff(kProgram) << " \\- " << Roff(kSummary) << '\n'
      << ".SH SYNOPSIS\n";
  for (const Entry& c : kCommands) {
    out << ".B " << Roff(kProgram) << "\n" << Roff(kGlobal) << ' ' << Roff(c.term) << "\n.br\n";
  }
  out << ".B " << Roff(kProgram) << "\n\\-\\-help\n";
  out << ".SH DESCRIPTION\n";
  bool first = true;
  ForEachParagraph(kDescription, [&](std::string_view p) {
    out << (first ? "" : ".PP\n") << Roff(p) << '\n';
    first = false;
  });
  ManSection(out, "COMMANDS", kCommands, "");
  ManSection(out, "OPTIONS", kOptions, "");
  ManSection(out, "EXIT STATUS", kExitStatus, "");
  ManSection(out, "EXAMPLES", kExamples, "$ ");
  return out.str();
}

}  // namespace ws::cli
