#pragma once
// The hand-off to the virtual PDF printer: before each page, the PDF's path
// and the instruction to save without asking go into the printer's key of
// the current user, where the printer reads them when it takes the job.

#include <memory>
#include <string>

namespace pellacore {

class CodePage;
class Registry;
class RegistryKey;

// The printer the run prints to; its key is named after the same literal.
inline constexpr wchar_t kPdfPrinterName[] = L"Kelvandor PDF Writer";

// Opens (creating it when absent) HKEY_CURRENT_USER "Software\" + the
// printer name, with the access mask 0x3F; nullptr when the system refuses.
std::unique_ptr<RegistryKey> OpenPrinterKey(Registry& registry);

// "OutputFile": the path in the system code page, REG_SZ, its byte length
// as the data length (no terminator counted). Nothing when `key` is null.
void WriteOutputFile(RegistryKey* key, CodePage& codePage, const std::wstring& outputPath);

// "BypassSaveAs": REG_SZ "1" of length 1. Nothing when `key` is null.
void WriteBypassSaveAs(RegistryKey* key);

// The whole hand-off: key opened, both values written, key closed. The
// results are not examined: a printer that finds no path keeps its own.
void SetPrinterOutputFile(Registry& registry, CodePage& codePage, const std::wstring& outputPath);

}  // namespace pellacore
