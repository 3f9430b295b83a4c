#include "tools/samples/dxf_reader.h"

#include <cstdlib>

namespace pellacore::samples {
namespace {

[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error(what); }

std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

int GroupCode(std::string_view line, size_t number) {
  size_t i = line.find_first_not_of(' ');
  if (i == std::string_view::npos || i == line.size()) Fail("line " + std::to_string(number) + ": no group code");
  int code = 0;
  for (; i < line.size(); ++i) {
    if (line[i] < '0' || line[i] > '9' || code > 1071)
      Fail("line " + std::to_string(number) + ": not a group code: '" + std::string(line) + "'");
    code = code * 10 + (line[i] - '0');
  }
  return code;
}

// Reads groups from `at` up to the next 0 group.
std::vector<Group> Body(const std::vector<Group>& groups, size_t& at) {
  std::vector<Group> body;
  while (at < groups.size() && groups[at].code != 0) body.push_back(groups[at++]);
  return body;
}

}  // namespace

bool ReadEntity::Has(int code) const {
  for (const Group& g : groups) {
    if (g.code == code) return true;
  }
  return false;
}

const std::string& ReadEntity::Text(int code) const {
  for (const Group& g : groups) {
    if (g.code == code) return g.value;
  }
  Fail(type + " has no group " + std::to_string(code));
}

double ReadEntity::Number(int code) const {
  const std::string& text = Text(code);
  char* end = nullptr;
  double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0') Fail(type + " group " + std::to_string(code) + ": not a number: " + text);
  return value;
}

std::vector<Group> ReadGroups(std::string_view text) {
  std::vector<std::string_view> lines = Lines(text);
  if (lines.size() % 2 != 0) Fail("line " + std::to_string(lines.size()) + ": a group code without its value");
  std::vector<Group> groups;
  for (size_t i = 0; i < lines.size(); i += 2) groups.push_back({GroupCode(lines[i], i + 1), std::string(lines[i + 1])});
  return groups;
}

ReadDxf ReadDxfText(std::string_view text) {
  std::vector<Group> groups = ReadGroups(text);
  ReadDxf dxf;
  size_t at = 0;
  auto expect = [&](int code, const std::string& value) {
    if (at >= groups.size() || groups[at].code != code || groups[at].value != value)
      Fail("group " + std::to_string(at) + ": expected " + std::to_string(code) + " " + value);
    ++at;
  };
  while (at < groups.size() && !(groups[at].code == 0 && groups[at].value == "EOF")) {
    expect(0, "SECTION");
    if (at >= groups.size() || groups[at].code != 2) Fail("a section without its name");
    std::string section = groups[at++].value;
    dxf.sections.push_back(section);
    if (section == "HEADER") {
      while (at < groups.size() && groups[at].code == 9) {
        std::string name = groups[at++].value;
        std::vector<Group> values;
        while (at < groups.size() && groups[at].code != 9 && groups[at].code != 0) values.push_back(groups[at++]);
        dxf.variables[name] = values;
      }
    } else if (section == "TABLES") {
      while (at < groups.size() && groups[at].code == 0 && groups[at].value == "TABLE") {
        ++at;
        if (at >= groups.size() || groups[at].code != 2) Fail("a table without its name");
        std::string table = groups[at].value;
        Body(groups, at);
        std::vector<ReadEntity>& entries = dxf.tables[table];
        while (at < groups.size() && groups[at].value != "ENDTAB") {
          std::string type = groups[at++].value;
          entries.push_back({type, Body(groups, at)});
        }
        expect(0, "ENDTAB");
      }
    } else if (section == "ENTITIES") {
      while (at < groups.size() && groups[at].value != "ENDSEC") {
        std::string type = groups[at++].value;
        dxf.entities.push_back({type, Body(groups, at)});
      }
    } else {
      while (at < groups.size() && !(groups[at].code == 0 && groups[at].value == "ENDSEC")) ++at;
    }
    expect(0, "ENDSEC");
  }
  expect(0, "EOF");
  if (at != groups.size()) Fail("something after EOF");
  return dxf;
}

}  // namespace pellacore::samples
