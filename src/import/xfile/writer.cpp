// The X text writer. Its layout is the one DirectX's own text files use:
// each member of a data object on its own line ending in ';', the elements
// of an array of structures one per line ending in ',' (the last in ';'),
// structure members inline, each value followed by ';'.
#include <charconv>
#include <cmath>

#include "import/xfile/xfile.h"

namespace ws::xfile {
namespace {

class Writer {
 public:
  explicit Writer(const TemplateRegistry& registry) : reg_(registry) {}

  bool Object(const xfile::Object& o, int depth) {
    std::string pad(static_cast<std::size_t>(depth), ' ');
    if (o.reference) {
      out_ += pad + "{ " + o.name + (o.name.empty() || o.guid.empty() ? "" : " ") +
              (o.guid.empty() ? "" : "<" + o.guid + ">") + " }\n";
      return true;
    }
    if (depth > kMaxDepth) return Fail("data objects nested too deeply");
    const Template* t = reg_.Find(o.templateName);
    if (!t) return Fail("unknown template '" + o.templateName + "'");
    out_ += pad + o.templateName + (o.name.empty() ? "" : " " + o.name) + " {\n";
    if (!o.guid.empty()) out_ += pad + " <" + o.guid + ">\n";
    std::size_t pos = 0;
    std::vector<std::string> lines;
    if (!Members(*t, o.values, pos, 1, &lines)) return false;
    if (pos != o.values.size())
      return Fail("values of '" + o.templateName + "' do not fit its template");
    for (const auto& line : lines) out_ += pad + " " + line + "\n";
    for (const auto& child : o.children) {
      if (!Object(child, depth + 1)) return false;
    }
    out_ += pad + "}\n";
    return true;
  }
  std::string& text() { return out_; }
  const std::string& error() const { return error_; }

 private:
  bool Fail(std::string what) {
    error_ = std::move(what);
    return false;
  }

  // The members of one instance of `t`, taken from values[pos...]. With
  // `lines` each member of this (top-level) instance goes on its own lines;
  // otherwise all of them are appended to `inlineText`.
  bool Members(const Template& t, const std::vector<Value>& values, std::size_t& pos, int depth,
               std::vector<std::string>* lines, std::string* inlineText = nullptr) {
    if (depth > kMaxDepth) return Fail("templates nested too deeply");
    std::map<std::string, std::uint64_t> integers;
    for (const auto& m : t.members) {
      auto shape = ShapeOf(m, reg_, integers, &error_);
      if (!shape) return false;
      const bool integer = shape->integer;
      const Template* inner = shape->inner;
      std::vector<std::string> elements;
      for (std::uint64_t i = 0; i < shape->count; ++i) {
        std::string e;
        if (inner) {
          std::size_t before = pos;
          if (!Members(*inner, values, pos, depth + 1, nullptr, &e)) return false;
          elements.push_back(std::move(e));
          if (pos == before) break;
          continue;
        }
        if (pos >= values.size() || values[pos].isString != IsStringType(m.type))
          return Fail("values do not fit member '" + m.name + "' of '" + t.name + "'");
        const Value& v = values[pos++];
        char buf[400];  // the fixed form of the largest double with its six decimals
        if (v.isString) {
          e = "\"" + v.text + "\"";
        } else if (integer) {
          e.assign(buf,
                   std::to_chars(buf, buf + sizeof buf, static_cast<std::int64_t>(v.number)).ptr);
          if (!m.array && v.number >= 0) integers[m.name] = static_cast<std::uint64_t>(v.number);
        } else {
          // The text form has no spelling for these: a reader would refuse the file.
          if (!std::isfinite(v.number))
            return Fail("member '" + m.name + "' of '" + t.name + "' is not a finite number");
          e.assign(buf,
                   std::to_chars(buf, buf + sizeof buf, v.number, std::chars_format::fixed, 6).ptr);
        }
        elements.push_back(std::move(e));
      }
      // A structure's own text ends in its last member's ';'; as a member
      // it takes one more, like every value.
      if (lines && m.array && inner) {
        for (std::size_t i = 0; i < elements.size(); ++i)
          lines->push_back(elements[i] + (i + 1 < elements.size() ? "," : ";"));
        continue;
      }
      std::string text;
      for (std::size_t i = 0; i < elements.size(); ++i) text += (i ? "," : "") + elements[i];
      if (m.array || inner || !elements.empty()) text += ";";
      if (lines) {
        if (!m.array || !elements.empty()) lines->push_back(text);
      } else {
        *inlineText += text;
      }
    }
    return true;
  }

  const TemplateRegistry& reg_;
  std::string out_;
  std::string error_;
};

}  // namespace

std::optional<std::string> WriteText(const std::vector<Object>& objects,
                                     const TemplateRegistry& registered, std::string* error) {
  Writer w(registered);
  w.text() = "xof 0303txt 0032\n";
  for (const auto& o : objects) {
    if (!w.Object(o, 0)) {
      if (error) *error = w.error();
      return std::nullopt;
    }
  }
  return std::move(w.text());
}

}  // namespace ws::xfile
