// Reads an ASCII DXF back, strictly: what the samples' tests use to prove
// that the files are well formed, and to look at what they hold.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pellacore::samples {

struct Group {
  int code = 0;
  std::string value;
};

struct ReadEntity {
  std::string type;
  std::vector<Group> groups;  // after the type's own 0 group

  bool Has(int code) const;
  const std::string& Text(int code) const;  // throws std::runtime_error when absent
  double Number(int code) const;            // throws when absent or not a number
};

struct ReadDxf {
  std::vector<std::string> sections;                    // in file order
  std::map<std::string, std::vector<Group>> variables;  // HEADER: "$ACADVER" -> its groups
  std::map<std::string, std::vector<ReadEntity>> tables;  // TABLES: "LAYER" -> its entries
  std::vector<ReadEntity> entities;                     // ENTITIES
};

// Every group: a line with a group code (spaces, then digits), a line with
// its value. Throws std::runtime_error naming the line otherwise.
std::vector<Group> ReadGroups(std::string_view text);

// Sections, tables and entities; throws when a section or table is not
// closed, when anything follows EOF or EOF is missing.
ReadDxf ReadDxfText(std::string_view text);

}  // namespace pellacore::samples
