#include "tools/standin-autocad/dxf.h"

#include <charconv>
#include <cstdint>
#include <map>
#include <utility>

namespace pellacore::standin {

namespace {

std::string_view TrimmedSpaces(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

std::string_view WithoutBom(std::string_view content) {
  if (content.substr(0, 3) == "\xEF\xBB\xBF") content.remove_prefix(3);
  return content;
}

struct Group {
  int code = 0;
  std::string_view value;
  int line = 0;  // line of the group code
};

// The file as group-code/value pairs, one line each.
class GroupReader {
 public:
  explicit GroupReader(std::string_view content) : rest_(WithoutBom(content)) {}

  // False at the end of the file; on a malformed pair `error` says why.
  bool Next(Group& group, DxfError& error) {
    std::string_view codeLine;
    if (!NextLine(codeLine)) return false;
    const int codeLineNumber = line_;
    codeLine = TrimmedSpaces(codeLine);
    if (codeLine.empty() && rest_.empty()) return false;  // final line break
    int code = 0;
    const auto [end, failure] = std::from_chars(codeLine.data(), codeLine.data() + codeLine.size(), code);
    if (failure != std::errc() || end != codeLine.data() + codeLine.size()) {
      error = {codeLineNumber, "expected a group code, found \"" + std::string(codeLine.substr(0, 40)) + "\""};
      failed_ = true;
      return false;
    }
    std::string_view value;
    if (!NextLine(value)) {
      error = {codeLineNumber, "group code " + std::to_string(code) + " has no value"};
      failed_ = true;
      return false;
    }
    group = {code, value, codeLineNumber};
    return true;
  }

  bool failed() const { return failed_; }

 private:
  bool NextLine(std::string_view& line) {
    if (rest_.empty()) return false;
    const std::size_t end = rest_.find('\n');
    line = rest_.substr(0, end);
    rest_ = end == std::string_view::npos ? std::string_view() : rest_.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    ++line_;
    return true;
  }

  std::string_view rest_;
  int line_ = 0;
  bool failed_ = false;
};

double Number(std::string_view value) {
  value = TrimmedSpaces(value);
  if (!value.empty() && value.front() == '+') value.remove_prefix(1);
  double number = 0;
  std::from_chars(value.data(), value.data() + value.size(), number);
  return number;
}

long Integer(std::string_view value) {
  value = TrimmedSpaces(value);
  long number = 0;
  std::from_chars(value.data(), value.data() + value.size(), number);
  return number;
}

using Groups = std::vector<Group>;

double NumberOf(const Groups& groups, int code, double fallback = 0) {
  for (const Group& group : groups) {
    if (group.code == code) return Number(group.value);
  }
  return fallback;
}

long IntegerOf(const Groups& groups, int code) {
  for (const Group& group : groups) {
    if (group.code == code) return Integer(group.value);
  }
  return 0;
}

Point PointOf(const Groups& groups, int xCode) {
  return {NumberOf(groups, xCode), NumberOf(groups, xCode + 10)};
}

Polyline LwPolylineOf(const Groups& groups) {
  Polyline polyline;
  // Each 10 starts a vertex; the 20 that follows is its y.
  for (const Group& group : groups) {
    if (group.code == 10) polyline.points.push_back({Number(group.value), 0});
    if (group.code == 20 && !polyline.points.empty()) polyline.points.back().y = Number(group.value);
  }
  polyline.closed = (IntegerOf(groups, 70) & 1) != 0;
  return polyline;
}

Text MtextOf(const Groups& groups) {
  // Long MTEXT comes in chunks: any number of 3 groups, then the last one as 1.
  std::string formatted;
  for (const Group& group : groups) {
    if (group.code == 3) formatted += group.value;
  }
  for (const Group& group : groups) {
    if (group.code == 1) formatted += group.value;
  }
  Text text{PointOf(groups, 10), NumberOf(groups, 40), NumberOf(groups, 50), PlainMtext(formatted), true};
  return text;
}

std::string TextValueOf(const Groups& groups) {
  for (const Group& group : groups) {
    if (group.code == 1) return std::string(group.value);
  }
  return {};
}

// The layers' colours from the TABLES section's LAYER records.
class LayerTable {
 public:
  void Add(std::string_view type, const Groups& groups) {
    if (type != "LAYER") return;
    std::string name;
    for (const Group& group : groups) {
      if (group.code == 2) name = std::string(TrimmedSpaces(group.value));
    }
    // A negative colour is a layer switched off; it plots in its colour.
    const long colour = IntegerOf(groups, 62);
    colours_[name] = colour == 0 ? kBlackColour : static_cast<int>(colour < 0 ? -colour : colour);
  }
  int ColourOf(const std::string& layer) const {
    const auto found = colours_.find(layer);
    return found == colours_.end() ? kBlackColour : found->second;
  }

 private:
  std::map<std::string, int> colours_;
};

// Builds the drawing from the entity records of the ENTITIES section.
class EntityCollector {
 public:
  void Add(std::string_view type, const Groups& groups) {
    if (type == "VERTEX") {
      if (polyline_ && (IntegerOf(groups, 70) & 128) == 0) polyline_->points.push_back(PointOf(groups, 10));
      return;
    }
    FinishPolyline();
    if (type == "SEQEND") return;
    const Style style = StyleOf(groups);
    if (type == "LINE") {
      Push(Line{PointOf(groups, 10), PointOf(groups, 11)}, style);
    } else if (type == "CIRCLE") {
      Push(Circle{PointOf(groups, 10), NumberOf(groups, 40)}, style);
    } else if (type == "ARC") {
      Push(Arc{PointOf(groups, 10), NumberOf(groups, 40), NumberOf(groups, 50), NumberOf(groups, 51)}, style);
    } else if (type == "LWPOLYLINE") {
      Push(LwPolylineOf(groups), style);
    } else if (type == "POLYLINE") {
      const long flags = IntegerOf(groups, 70);
      // Meshes and polyface meshes have vertices that are not a path.
      if ((flags & (16 | 64)) == 0) {
        polyline_ = Polyline{{}, (flags & 1) != 0};
        polylineStyle_ = style;
      }
    } else if (type == "TEXT") {
      Push(Text{PointOf(groups, 10), NumberOf(groups, 40), NumberOf(groups, 50), TextValueOf(groups), false}, style);
    } else if (type == "MTEXT") {
      Push(MtextOf(groups), style);
    } else if (type == "VIEWPORT" && style.paper && IntegerOf(groups, 69) != 1) {
      LayoutNamed(style.layout).viewports.push_back(Viewport{PointOf(groups, 10), NumberOf(groups, 40),
                                                             NumberOf(groups, 41), PointOf(groups, 12),
                                                             NumberOf(groups, 45)});
    }
  }

  Drawing Finish(const LayerTable& layers) {
    FinishPolyline();
    for (std::size_t i = 0; i < modelStyles_.size(); ++i) {
      drawing_.colours.push_back(Resolve(modelStyles_[i], layers));
    }
    for (std::size_t l = 0; l < drawing_.layouts.size(); ++l) {
      for (const Style& style : paperStyles_[l]) drawing_.layouts[l].colours.push_back(Resolve(style, layers));
    }
    return std::move(drawing_);
  }

 private:
  // Where an entity goes and what colour it asks for.
  struct Style {
    bool paper = false;
    std::string layout;
    std::string layer;
    long colour = 256;  // BYLAYER
  };

  static Style StyleOf(const Groups& groups) {
    Style style;
    for (const Group& group : groups) {
      const std::string_view value = TrimmedSpaces(group.value);
      if (group.code == 67) style.paper = Integer(value) == 1;
      if (group.code == 410) style.layout = std::string(value);
      if (group.code == 8) style.layer = std::string(value);
      if (group.code == 62) style.colour = Integer(value);
    }
    if (style.paper && style.layout.empty()) style.layout = "Layout1";
    return style;
  }

  static int Resolve(const Style& style, const LayerTable& layers) {
    if (style.colour == 0 || style.colour == 256) return layers.ColourOf(style.layer);
    return static_cast<int>(style.colour < 0 ? -style.colour : style.colour);
  }

  void Push(Entity entity, const Style& style) {
    if (!style.paper) {
      drawing_.entities.push_back(std::move(entity));
      modelStyles_.push_back(style);
      return;
    }
    PaperLayout& layout = LayoutNamed(style.layout);
    layout.entities.push_back(std::move(entity));
    paperStyles_[static_cast<std::size_t>(&layout - drawing_.layouts.data())].push_back(style);
  }

  // The layout of that name, added after the others when it is new.
  PaperLayout& LayoutNamed(const std::string& name) {
    for (PaperLayout& layout : drawing_.layouts) {
      if (layout.name == name) return layout;
    }
    drawing_.layouts.push_back(PaperLayout{name, {}, {}, {}});
    paperStyles_.emplace_back();
    return drawing_.layouts.back();
  }

  void FinishPolyline() {
    if (!polyline_) return;
    Push(std::move(*polyline_), polylineStyle_);
    polyline_.reset();
  }

  Drawing drawing_;
  std::vector<Style> modelStyles_;
  std::vector<std::vector<Style>> paperStyles_;
  std::optional<Polyline> polyline_;
  Style polylineStyle_;
};

void AppendUtf8(std::string& out, std::uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

bool LooksLikeDxf(std::string_view content) {
  GroupReader reader(content);
  Group group;
  DxfError error;
  while (reader.Next(group, error)) {
    if (group.code == 999) continue;  // comment
    return group.code == 0 && TrimmedSpaces(group.value) == "SECTION";
  }
  return false;
}

DxfResult ReadDxf(std::string_view content) {
  GroupReader reader(content);
  EntityCollector collector;
  LayerTable layers;
  Group group;
  DxfError error;
  enum class Where { Outside, SectionName, OtherSection, Tables, Entities } where = Where::Outside;
  std::string_view entityType;
  Groups entityGroups;
  bool inEntity = false;

  while (reader.Next(group, error)) {
    const std::string_view value = TrimmedSpaces(group.value);
    switch (where) {
      case Where::Outside:
        if (group.code == 0 && value == "SECTION") where = Where::SectionName;
        if (group.code == 0 && value == "EOF") return {collector.Finish(layers), {}};
        break;
      case Where::SectionName:
        where = group.code == 2 && value == "ENTITIES" ? Where::Entities
                : group.code == 2 && value == "TABLES" ? Where::Tables
                                                        : Where::OtherSection;
        break;
      case Where::Tables:
        // Records as in ENTITIES: a 0 group starts one; only LAYER matters.
        if (group.code != 0) {
          if (inEntity) entityGroups.push_back(group);
          break;
        }
        if (inEntity) layers.Add(entityType, entityGroups);
        entityGroups.clear();
        inEntity = value != "ENDSEC";
        entityType = value;
        if (!inEntity) where = Where::Outside;
        break;
      case Where::OtherSection:
        if (group.code == 0 && value == "ENDSEC") where = Where::Outside;
        break;
      case Where::Entities:
        if (group.code != 0) {
          if (inEntity) entityGroups.push_back(group);
          break;
        }
        if (inEntity) collector.Add(entityType, entityGroups);
        entityGroups.clear();
        inEntity = value != "ENDSEC";
        entityType = value;
        if (!inEntity) where = Where::Outside;
        break;
    }
  }
  if (reader.failed()) return {std::nullopt, error};
  if (inEntity && where == Where::Entities) collector.Add(entityType, entityGroups);
  return {collector.Finish(layers), {}};
}

std::string PlainMtext(std::string_view formatted) {
  std::string plain;
  for (std::size_t i = 0; i < formatted.size(); ++i) {
    const char c = formatted[i];
    if (c == '{' || c == '}') continue;
    if (c != '\\' || i + 1 >= formatted.size()) {
      plain += c;
      continue;
    }
    const char code = formatted[++i];
    switch (code) {
      case 'P':
        plain += '\n';
        break;
      case '~':
        plain += ' ';
        break;
      case '\\':
      case '{':
      case '}':
        plain += code;
        break;
      case 'L':
      case 'l':
      case 'O':
      case 'o':
      case 'K':
      case 'k':
        break;  // underline, overline, strike-through on or off
      case 'U':
        if (i + 5 < formatted.size() && formatted[i + 1] == '+') {
          std::uint32_t unicode = 0;
          const char* first = formatted.data() + i + 2;
          const auto [end, failure] = std::from_chars(first, first + 4, unicode, 16);
          if (failure == std::errc() && end == first + 4) {
            AppendUtf8(plain, unicode);
            i += 5;
            break;
          }
        }
        plain += "\\U";
        break;
      case 'S': {
        // Stacked fraction "\Sa^b;" or "\Sa/b;": shown as a/b.
        const std::size_t end = formatted.find(';', i);
        std::string_view stacked = formatted.substr(i + 1, end == std::string_view::npos ? end : end - i - 1);
        for (char s : stacked) plain += s == '^' || s == '#' ? '/' : s;
        i = end == std::string_view::npos ? formatted.size() : end;
        break;
      }
      case 'f':
      case 'F':
      case 'H':
      case 'W':
      case 'Q':
      case 'T':
      case 'A':
      case 'C':
      case 'c':
      case 'p': {
        // Font, size, width, slant, tracking, alignment, colour, indents: up to ';'.
        const std::size_t end = formatted.find(';', i);
        i = end == std::string_view::npos ? formatted.size() : end;
        break;
      }
      default:
        plain += code;
        break;
    }
  }
  return plain;
}

}  // namespace pellacore::standin
