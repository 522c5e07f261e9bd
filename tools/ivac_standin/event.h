// One line of the stand-in's event log: a flat JSON object whose values are
// texts, integers, flags or lists of texts, written by the stand-in for every
// effect and read back by the tests. Portable.
//
//   {"seq":7,"ms":1520,"event":"toolbar","button":"AP","pressed":true,"shift":false}
//
// Texts are the program's ANSI bytes; bytes above 127 are written as \u00XX
// (their Latin-1 reading), so every line is plain ASCII.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace qv::standin {

using Value = std::variant<std::string, int64_t, bool, std::vector<std::string>>;

struct Field {
  std::string name;
  Value value;

  Field(std::string n, std::string v) : name(std::move(n)), value(std::move(v)) {}
  Field(std::string n, std::string_view v) : name(std::move(n)), value(std::string(v)) {}
  Field(std::string n, const char* v) : name(std::move(n)), value(std::string(v)) {}
  Field(std::string n, int v) : name(std::move(n)), value(int64_t{v}) {}
  Field(std::string n, int64_t v) : name(std::move(n)), value(v) {}
  Field(std::string n, bool v) : name(std::move(n)), value(v) {}
  Field(std::string n, std::vector<std::string> v) : name(std::move(n)), value(std::move(v)) {}
};

// The JSON line (without its line feed) of one event.
std::string EventLine(int64_t seq, int64_t ms, std::string_view event,
                      const std::vector<Field>& fields);

// A parsed event line. Text(name) gives a text field, or the decimal text of
// an integer, "true"/"false" of a flag, and "" for a missing field.
struct Event {
  std::map<std::string, Value> fields;

  std::string Name() const { return Text("event"); }
  std::string Text(const std::string& name) const;
  int64_t Int(const std::string& name, int64_t def = -1) const;
  bool Flag(const std::string& name) const;
  std::vector<std::string> List(const std::string& name) const;
  bool Has(const std::string& name) const { return fields.count(name) != 0; }
};

// Parses one line; nullopt for anything that is not a flat object of the
// kinds of value above.
std::optional<Event> ParseEventLine(std::string_view line);

}  // namespace qv::standin
