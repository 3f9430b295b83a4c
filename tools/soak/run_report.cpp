#include "tools/soak/run_report.h"

namespace pellacore::soak {

namespace {

void AppendCodePoint(std::wstring& text, char32_t code) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (code > 0xFFFF) {
      code -= 0x10000;
      text += static_cast<wchar_t>(0xD800 + (code >> 10));
      text += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
      return;
    }
  }
  text += static_cast<wchar_t>(code);
}

}  // namespace

std::wstring WideFromUtf8(std::string_view bytes) {
  std::wstring text;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : (lead & 0xF8) == 0xF0 ? 3 : -1;
    if (extra < 0 || i + static_cast<std::size_t>(extra) >= bytes.size()) {
      text += L'\xFFFD';
      ++i;
      continue;
    }
    char32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
    bool good = true;
    for (int k = 1; k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
      if ((next & 0xC0) != 0x80) good = false;
      code = code << 6 | (next & 0x3F);
    }
    if (!good) {
      text += L'\xFFFD';
      ++i;
      continue;
    }
    AppendCodePoint(text, code);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return text;
}

std::string Utf8FromWide(std::wstring_view text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t code = static_cast<char32_t>(text[i]);
    if (code >= 0xD800 && code < 0xDC00 && i + 1 < text.size()) {
      code = 0x10000 + ((code - 0xD800) << 10) + (static_cast<char32_t>(text[++i]) - 0xDC00);
    }
    if (code < 0x80) {
      bytes += static_cast<char>(code);
    } else if (code < 0x800) {
      bytes += static_cast<char>(0xC0 | code >> 6);
      bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      bytes += static_cast<char>(0xE0 | code >> 12);
      bytes += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      bytes += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      bytes += static_cast<char>(0xF0 | code >> 18);
      bytes += static_cast<char>(0x80 | (code >> 12 & 0x3F));
      bytes += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      bytes += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return bytes;
}

std::vector<std::vector<std::wstring>> ParseCsv(std::wstring_view text) {
  if (!text.empty() && text.front() == L'\xFEFF') text.remove_prefix(1);
  std::vector<std::vector<std::wstring>> records;
  std::vector<std::wstring> record;
  std::wstring field;
  bool quoted = false;
  bool any = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const wchar_t c = text[i];
    any = true;
    if (quoted) {
      if (c == L'"' && i + 1 < text.size() && text[i + 1] == L'"') {
        field += L'"';
        ++i;
      } else if (c == L'"') {
        quoted = false;
      } else {
        field += c;
      }
    } else if (c == L'"') {
      quoted = true;
    } else if (c == L',') {
      record.push_back(std::move(field));
      field.clear();
    } else if (c == L'\r' || c == L'\n') {
      if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
      record.push_back(std::move(field));
      field.clear();
      records.push_back(std::move(record));
      record.clear();
      any = false;
    } else {
      field += c;
    }
  }
  if (any) {
    record.push_back(std::move(field));
    records.push_back(std::move(record));
  }
  return records;
}

std::vector<std::wstring> CompareReport(const std::vector<std::vector<std::wstring>>& records,
                                        const std::vector<SoakDrawing>& drawings) {
  std::vector<std::wstring> differences;
  const std::vector<std::wstring> header{L"drawing", L"pdf", L"result", L"step", L"message", L"seconds"};
  if (records.empty() || records.front() != header) {
    differences.push_back(L"the report's header is not drawing,pdf,result,step,message,seconds");
    if (records.empty()) return differences;
  }
  if (records.size() - 1 != drawings.size()) {
    differences.push_back(L"the report has " + std::to_wstring(records.size() - 1) + L" rows for " +
                          std::to_wstring(drawings.size()) + L" drawings");
  }
  for (std::size_t i = 0; i < drawings.size() && i + 1 < records.size(); ++i) {
    const std::vector<std::wstring>& row = records[i + 1];
    const SoakDrawing& drawing = drawings[i];
    const std::wstring where = L"row " + std::to_wstring(i + 1) + L" (" + drawing.path + L", " +
                               FaultName(drawing.fault) + L"): ";
    if (row.size() != header.size()) {
      differences.push_back(where + std::to_wstring(row.size()) + L" fields");
      continue;
    }
    if (row[0] != drawing.path) differences.push_back(where + L"names the drawing " + row[0]);
    if (row[2] != drawing.result) differences.push_back(where + L"says " + row[2] + L", not " + drawing.result);
    const std::wstring pdf = drawing.result == L"converted" ? drawing.pdf : L"";
    if (row[1] != pdf) differences.push_back(where + L"names the PDF \"" + row[1] + L"\", not \"" + pdf + L"\"");
  }
  return differences;
}

}  // namespace pellacore::soak
