// The X-file library: the retained-mode X format's templates, its data
// objects, a writer for the text form and a reader for the text, binary and
// compressed forms.
//
// A data object keeps its member values flat, in the order its template
// declares them (members of a member's own template inline), so the importer
// and the exporter address them by position and the writer re-derives the
// layout from the template.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ws::xfile {

// Nesting deeper than this (data objects inside data objects, or templates
// whose members are templates) is refused: real files nest a few levels,
// and the reader and writer recurse once per level.
inline constexpr int kMaxDepth = 64;

struct Member {
  std::string type;  // "DWORD", "FLOAT", "STRING", ... or a template name
  std::string name;
  bool array = false;
  // Per dimension a decimal count or the name of an earlier member.
  std::vector<std::string> dimensions;
};

struct Template {
  std::string name;
  std::string guid;  // upper-case, without the angle brackets
  std::vector<Member> members;
  // Which children a data object may hold: none (closed), any ("[...]"),
  // or those of the listed templates.
  enum class Children { kClosed, kOpen, kRestricted } children = Children::kClosed;
  std::vector<std::string> allowed;
};

class TemplateRegistry {
 public:
  // A template of the same name is replaced: files often declare the
  // standard templates again, and their own declaration governs them.
  void Add(Template t);
  const Template* Find(std::string_view name) const;
  std::size_t size() const { return list_.size(); }
  const std::vector<Template>& templates() const { return list_; }

 private:
  std::vector<Template> list_;
};

// The 35 standard templates, in the order they are registered.
const TemplateRegistry& StandardTemplates();

struct Value {
  bool isString = false;
  double number = 0;  // every integer type of the format fits exactly
  std::string text;
};

struct Object {
  std::string templateName;
  std::string name;  // may be empty
  std::string guid;  // may be empty
  std::vector<Value> values;
  std::vector<Object> children;
  // A reference child ("{ name }" or "{ <guid> }") has only a name and/or
  // a GUID.
  bool reference = false;
};

struct File {
  std::vector<Object> objects;
  std::vector<Template> declared;  // templates declared inside the file
};

// The object a reference names: the first data object (depth first) with
// that name, or with that GUID when the reference carries one.
const Object* Resolve(const File& file, const Object& reference);

struct ReadResult {
  std::optional<File> file;
  std::string error;  // set when file is empty
};

// Reads a whole X file (text "txt ", binary "bin ", compressed "tzip" /
// "bzip"; floats "0032" / "0064"). Data objects use the templates of
// `registered` and those declared in the file.
ReadResult Read(std::span<const std::uint8_t> bytes, const TemplateRegistry& registered);

// The objects as an X text file ("xof 0303txt 0032"); no value when an
// object's template is unknown or its values do not fit the template
// (`error` says which).
std::optional<std::string> WriteText(const std::vector<Object>& objects,
                                     const TemplateRegistry& registered, std::string* error);

// Shared by the reader and the writer: whether `type` is a primitive type
// and, when it is, whether its values are integers.
bool IsPrimitive(std::string_view type, bool* integer = nullptr);
bool IsStringType(std::string_view type);

// What one member of a template instance holds: how many elements (1 unless
// an array), and whether each is an integer or an instance of `inner`.
struct MemberShape {
  std::uint64_t count = 1;
  bool integer = false;
  const Template* inner = nullptr;
};
// The shape of `member` given the integer members before it in the same
// instance; no value, with `error` set, when its array size or its type is
// unknown.
std::optional<MemberShape> ShapeOf(const Member& member, const TemplateRegistry& registry,
                                   const std::map<std::string, std::uint64_t>& earlier,
                                   std::string* error);

}  // namespace ws::xfile
