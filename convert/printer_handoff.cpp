#include "convert/printer_handoff.h"

#include "platform/code_page.h"
#include "platform/registry.h"

namespace pellacore {
namespace {

// Query value, set value, create sub-key, enumerate sub-keys, notify, create link.
constexpr std::uint32_t kKeyAccess = 0x3F;

}  // namespace

std::unique_ptr<RegistryKey> OpenPrinterKey(Registry& registry) {
  return registry.CreateCurrentUserKey(std::wstring(L"Software\\") + kPdfPrinterName, kKeyAccess);
}

void WriteOutputFile(RegistryKey* key, CodePage& codePage, const std::wstring& outputPath) {
  if (!key) return;
  // The byte count, not the character count: in a double-byte code page a
  // character may take two bytes, and a shorter length would cut the path.
  const std::string ansi = codePage.ToAnsi(outputPath);
  key->SetStringValue(L"OutputFile", ansi, static_cast<std::uint32_t>(ansi.size()));
}

void WriteBypassSaveAs(RegistryKey* key) {
  if (!key) return;
  key->SetStringValue(L"BypassSaveAs", "1", 1);
}

void SetPrinterOutputFile(Registry& registry, CodePage& codePage, const std::wstring& outputPath) {
  std::unique_ptr<RegistryKey> key = OpenPrinterKey(registry);
  WriteOutputFile(key.get(), codePage, outputPath);
  WriteBypassSaveAs(key.get());
}

}  // namespace pellacore
