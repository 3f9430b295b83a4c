#include "tools/standin-autocad/plot_objects.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <mutex>
#include <thread>

#include "tools/standin-autocad/call_log.h"
#include "tools/standin-autocad/member_switches.h"
#include "tools/standin-autocad/modal_question.h"
#include "tools/standin-autocad/plot_sheet.h"
#include "tools/standin-autocad/viewport_view.h"
#include "win32/unique_resource.h"

namespace pellacore::standin {

namespace {

enum : DISPID {
  kLayoutName = 1,
  kTabOrder,
  kModelType,
  kRefreshPlotDeviceInfo,
  kConfigName,
  kGetCanonicalMediaNames,
  kCanonicalMediaName,
  kPlotRotation,
  kPlotType,
  kUseStandardScale,
  kStandardScale,
  kCenterPlot,
  kStyleSheet,
  kPlotWithPlotStyles,
  kBlock,
  kBlockCount,
  kLayoutsCount,
  kLayoutsItem,
  kQuietErrorMode,
  kPlotToFile,
};

constexpr std::array kLayoutMembers = {
    Member{L"Name", kLayoutName, MemberKind::ReadOnlyProperty},
    Member{L"TabOrder", kTabOrder, MemberKind::ReadOnlyProperty},
    Member{L"ModelType", kModelType, MemberKind::ReadOnlyProperty},
    Member{L"RefreshPlotDeviceInfo", kRefreshPlotDeviceInfo, MemberKind::Method, 0, 0},
    Member{L"ConfigName", kConfigName, MemberKind::Property},
    Member{L"GetCanonicalMediaNames", kGetCanonicalMediaNames, MemberKind::Method, 0, 0},
    Member{L"CanonicalMediaName", kCanonicalMediaName, MemberKind::Property},
    Member{L"PlotRotation", kPlotRotation, MemberKind::Property},
    Member{L"PlotType", kPlotType, MemberKind::Property},
    Member{L"UseStandardScale", kUseStandardScale, MemberKind::Property},
    Member{L"StandardScale", kStandardScale, MemberKind::Property},
    Member{L"CenterPlot", kCenterPlot, MemberKind::Property},
    Member{L"StyleSheet", kStyleSheet, MemberKind::Property},
    Member{L"PlotWithPlotStyles", kPlotWithPlotStyles, MemberKind::Property},
    Member{L"Block", kBlock, MemberKind::ReadOnlyProperty},
};

constexpr std::array kBlockMembers = {
    Member{L"Count", kBlockCount, MemberKind::ReadOnlyProperty},
};

constexpr std::array kLayoutsMembers = {
    Member{L"Count", kLayoutsCount, MemberKind::ReadOnlyProperty},
    Member{L"Item", kLayoutsItem, MemberKind::Method, 1, 1},
};

// PlotToFile(PlotFile, [PlotConfig]).
constexpr std::array kPlotMembers = {
    Member{L"QuietErrorMode", kQuietErrorMode, MemberKind::Property},
    Member{L"PlotToFile", kPlotToFile, MemberKind::Method, 1, 2},
};

constexpr long kAcView = 3;
constexpr long kAcWindow = 4;
constexpr long kAcLayout = 5;
constexpr long kAcScaleToFit = 0;

// Plot style tables a fresh installation has.
constexpr std::array<std::wstring_view, 5> kStyleSheets = {L"", L"monochrome.ctb", L"acad.ctb", L"Grayscale.ctb",
                                                           L"Screening 50%.ctb"};

// The metric standard scales, acStandardScale 16 (1:1) to 32 (1000:1), as
// drawing millimetres per sheet millimetre.
constexpr std::array<double, 17> kDrawingMmPerSheetMm = {1,   2,   4,   8,   10,    16,   20,   30,   40,
                                                         50,  100, 0.5, 0.25, 0.125, 0.1, 0.01, 0.001};

std::wstring PlotQuoted(const std::wstring& text) { return L"\"" + text + L"\""; }

std::string NarrowAscii(const std::wstring& text) {
  std::string narrow;
  for (wchar_t c : text) narrow += c < 0x80 ? static_cast<char>(c) : '?';
  return narrow;
}

std::wstring WideAscii(const std::string& text) { return std::wstring(text.begin(), text.end()); }

std::wstring WideFromUtf8(const std::string& text) {
  if (text.empty()) return {};
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string Utf8FromWide(const std::wstring& text) {
  if (text.empty()) return {};
  const int length =
      ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length, nullptr,
                        nullptr);
  return narrow;
}

// Writes a new file; false when it exists already or cannot be written.
bool WriteNewFile(const std::wstring& path, const std::string& bytes) {
  win32::UniqueFile file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

// Background plots still on their way: joined when the process ends
// normally, so a plot that returned is written unless the process is killed.
class BackgroundPlots {
 public:
  ~BackgroundPlots() {
    for (std::thread& plot : plots_) plot.join();
  }
  void Start(std::wstring path, std::string pdf) {
    std::lock_guard<std::mutex> hold(lock_);
    plots_.emplace_back([path = std::move(path), pdf = std::move(pdf)] {
      ::Sleep(kBackgroundPlotMs);
      const bool written = WriteNewFile(path, pdf);
      Log(std::wstring(written ? L"background plot written " : L"background plot failed ") + path);
    });
  }

 private:
  std::mutex lock_;
  std::vector<std::thread> plots_;
};

BackgroundPlots& TheBackgroundPlots() {
  static BackgroundPlots plots;
  return plots;
}

}  // namespace

std::vector<LayoutContent> LayoutsOf(const std::optional<Drawing>& drawing, const std::wstring& path) {
  std::vector<LayoutContent> layouts;
  if (!drawing) {
    // Not DXF: an A4 frame naming the file, as its bitmap shows one.
    const std::size_t slash = path.find_last_of(L"\\/");
    const std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    LayoutContent model{L"Model", 0, {}, {}, 2};
    model.entities.push_back(Polyline{{{0, 0}, {297, 0}, {297, 210}, {0, 210}}, true});
    model.entities.push_back(Text{{20, 100}, 8, 0, Utf8FromWide(name), false});
    model.colours = {kBlackColour, kBlackColour};
    layouts.push_back(std::move(model));
    return layouts;
  }
  layouts.push_back(LayoutContent{L"Model", 0, drawing->entities, drawing->colours,
                                  static_cast<long>(drawing->entities.size())});
  long tab = 1;
  for (const PaperLayout& paper : drawing->layouts) {
    LayoutContent content{WideFromUtf8(paper.name), tab++, paper.entities, paper.colours,
                          static_cast<long>(paper.entities.size() + paper.viewports.size())};
    for (const Viewport& viewport : paper.viewports) {
      SeenEntities seen = SeenThrough(viewport, drawing->entities, drawing->colours);
      content.entities.insert(content.entities.end(), seen.entities.begin(), seen.entities.end());
      content.colours.insert(content.colours.end(), seen.colours.begin(), seen.colours.end());
    }
    layouts.push_back(std::move(content));
  }
  return layouts;
}

// Layout

Layout::Layout(std::shared_ptr<InstanceState> instance, LayoutContent content)
    : DispatchObject(std::move(instance)),
      content_(std::move(content)),
      block_(new LayoutBlock(sharedInstance(), content_.objects)),
      plotType_(content_.model() ? 0 : kAcLayout) {}

std::optional<Box> Layout::Extents() const {
  Drawing space;
  space.entities = content_.entities;
  return standin::Extents(space);
}

// LayoutBlock

std::span<const Member> LayoutBlock::Members() const { return kBlockMembers; }

void LayoutBlock::Get(const Member& member, VARIANT& result) {
  if (member.id != kBlockCount) {
    DispatchObject::Get(member, result);
    return;
  }
  result.vt = VT_I4;
  result.lVal = count_;
}

std::span<const Member> Layout::Members() const { return kLayoutMembers; }

std::vector<std::wstring> Layout::MediaNames() const {
  // Until the device information is refreshed the layout knows no media.
  std::vector<std::wstring> names;
  if (!refreshed_) return names;
  for (const Media& media : MediaOf(NarrowAscii(configName_))) names.push_back(WideAscii(media.name));
  return names;
}

void Layout::Get(const Member& member, VARIANT& result) {
  const auto text = [&](const std::wstring& value) {
    result.vt = VT_BSTR;
    result.bstrVal = ::SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
  };
  const auto number = [&](long value) {
    result.vt = VT_I4;
    result.lVal = value;
  };
  const auto flag = [&](bool value) {
    result.vt = VT_BOOL;
    result.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  };
  switch (member.id) {
    case kLayoutName: return text(content_.name);
    case kTabOrder: return number(content_.tabOrder);
    case kModelType: return flag(content_.model());
    case kConfigName: return text(configName_);
    case kCanonicalMediaName: return text(mediaName_);
    case kPlotRotation: return number(rotation_);
    case kPlotType: return number(plotType_);
    case kUseStandardScale: return flag(useStandardScale_);
    case kStandardScale: return number(standardScale_);
    case kCenterPlot: return flag(centerPlot_);
    case kStyleSheet: return text(styleSheet_);
    case kPlotWithPlotStyles: return flag(plotWithPlotStyles_);
    case kBlock: return ReturnObject(result, block_.get());
    default: DispatchObject::Get(member, result);
  }
}

void Layout::Put(const Member& member, const Arguments& value) {
  const auto invalid = [&](const std::wstring& what) {
    return AutomationError{E_INVALIDARG, L"Invalid " + std::wstring(member.name) + L" " + what + L"."};
  };
  switch (member.id) {
    case kConfigName: {
      const std::wstring config = value.Text(0);
      // A file name of a configuration AutoCAD has, not a path.
      if (config.find_first_of(L"\\/") != std::wstring::npos || !IsKnownPlotterConfig(NarrowAscii(config))) {
        throw AutomationError{E_INVALIDARG, L"The plot device " + PlotQuoted(config) + L" was not found."};
      }
      configName_ = config;
      mediaName_.clear();
      return;
    }
    case kCanonicalMediaName: {
      const std::wstring media = value.Text(0);
      const std::vector<std::wstring> names = MediaNames();
      if (std::find(names.begin(), names.end(), media) == names.end()) {
        throw AutomationError{E_INVALIDARG, L"The media " + PlotQuoted(media) + L" is not one of " +
                                                PlotQuoted(configName_) + L"'s canonical media names."};
      }
      mediaName_ = media;
      return;
    }
    case kPlotRotation: {
      const long rotation = value.Integer(0);
      if (rotation < 0 || rotation > 3) throw invalid(std::to_wstring(rotation));
      rotation_ = rotation;
      return;
    }
    case kPlotType: {
      const long type = value.Integer(0);
      if (type < 0 || type > kAcLayout) throw invalid(std::to_wstring(type));
      if (type == kAcLayout && content_.model()) {
        throw AutomationError{E_INVALIDARG, L"acLayout (5) is not a plot type of the Model layout."};
      }
      plotType_ = type;
      return;
    }
    case kUseStandardScale: useStandardScale_ = value.Boolean(0); return;
    case kStandardScale: {
      const long scale = value.Integer(0);
      if (scale != kAcScaleToFit && (scale < 16 || scale > 32)) {
        throw AutomationError{E_INVALIDARG, L"Standard scale " + std::to_wstring(scale) +
                                                L" is not supported by the stand-in; 0 (fit) and 16 to 32 are."};
      }
      standardScale_ = scale;
      return;
    }
    case kCenterPlot: centerPlot_ = value.Boolean(0); return;
    case kStyleSheet: {
      const std::wstring sheet = value.Text(0);
      const bool known = std::any_of(kStyleSheets.begin(), kStyleSheets.end(),
                                     [&](std::wstring_view table) { return EqualsIgnoringCase(sheet, table); });
      if (!known) throw AutomationError{E_INVALIDARG, L"The plot style table " + PlotQuoted(sheet) + L" was not found."};
      styleSheet_ = sheet;
      return;
    }
    case kPlotWithPlotStyles: plotWithPlotStyles_ = value.Boolean(0); return;
    default: DispatchObject::Put(member, value);
  }
}

void Layout::Call(const Member& member, const Arguments& arguments, VARIANT& result) {
  switch (member.id) {
    case kRefreshPlotDeviceInfo:
      refreshed_ = true;
      return;
    case kGetCanonicalMediaNames: {
      // An array of strings, as AutoCAD's VARIANT of a String array.
      const std::vector<std::wstring> names = MediaNames();
      SAFEARRAY* array = ::SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(names.size()));
      if (!array) throw AutomationError{E_OUTOFMEMORY, L"Out of memory."};
      for (LONG i = 0; i < static_cast<LONG>(names.size()); ++i) {
        BSTR name = ::SysAllocString(names[static_cast<std::size_t>(i)].c_str());
        ::SafeArrayPutElement(array, &i, name);
        ::SysFreeString(name);
      }
      result.vt = VT_ARRAY | VT_BSTR;
      result.parray = array;
      return;
    }
    default: DispatchObject::Call(member, arguments, result);
  }
}

Layout::Plotted Layout::PlotNow(const std::wstring& config) const {
  const std::wstring device = config.empty() ? configName_ : config;
  if (EqualsIgnoringCase(device, L"None") || !IsKnownPlotterConfig(NarrowAscii(device))) {
    return {std::nullopt, L"no plot device is chosen (ConfigName " + PlotQuoted(device) + L")"};
  }
  const std::optional<Media> media = FindMedia(NarrowAscii(device), NarrowAscii(mediaName_));
  if (!media) return {std::nullopt, L"the media " + PlotQuoted(mediaName_) + L" is not one of the device's"};
  if (plotType_ == kAcView || plotType_ == kAcWindow) {
    return {std::nullopt, L"plot type " + std::to_wstring(plotType_) + L" needs a view or window, and none is set"};
  }
  PlotRequest request;
  request.page = PageOf(*media, rotation_);
  request.rotation = static_cast<int>(rotation_);
  request.monochrome = plotWithPlotStyles_ && EqualsIgnoringCase(styleSheet_, L"monochrome.ctb");
  request.centred = centerPlot_;
  // Scale to fit only when asked; a standard scale plots drawing
  // millimetres at that ratio.
  if (!(useStandardScale_ && standardScale_ == kAcScaleToFit)) {
    const double ratio = useStandardScale_ ? kDrawingMmPerSheetMm[static_cast<std::size_t>(standardScale_ - 16)] : 1;
    request.pointsPerUnit = 72 / 25.4 / ratio;
  }
  return {WritePdf({PlotPage(content_.entities, content_.colours, request)}), {}};
}

// Layouts

std::span<const Member> Layouts::Members() const { return kLayoutsMembers; }

void Layouts::Get(const Member& member, VARIANT& result) {
  if (member.id != kLayoutsCount) {
    DispatchObject::Get(member, result);
    return;
  }
  result.vt = VT_I4;
  result.lVal = static_cast<LONG>(layouts_.size());
}

void Layouts::Call(const Member& member, const Arguments& arguments, VARIANT& result) {
  if (member.id != kLayoutsItem) {
    DispatchObject::Call(member, arguments, result);
    return;
  }
  // Item(Index): a number from 0, or a layout's name in any case.
  const bool byName = [&] {
    try {
      arguments.Integer(0);
      return false;
    } catch (const ArgumentTypeError&) {
      return true;
    }
  }();
  if (byName) {
    const std::wstring name = arguments.Text(0);
    for (const ComPtr<Layout>& layout : layouts_) {
      if (EqualsIgnoringCase(layout->name(), name)) {
        ReturnObject(result, layout.get());
        return;
      }
    }
    throw AutomationError{E_INVALIDARG, L"The drawing has no layout " + PlotQuoted(name) + L"."};
  }
  const long index = arguments.Integer(0);
  if (index < 0 || index >= static_cast<long>(layouts_.size())) {
    throw AutomationError{E_INVALIDARG, L"Layout index " + std::to_wstring(index) + L" is out of range."};
  }
  ReturnObject(result, layouts_[static_cast<std::size_t>(index)].get());
}

// Plot

std::span<const Member> Plot::Members() const { return kPlotMembers; }

void Plot::Get(const Member& member, VARIANT& result) {
  if (member.id != kQuietErrorMode) {
    DispatchObject::Get(member, result);
    return;
  }
  result.vt = VT_BOOL;
  result.boolVal = quietErrorMode_ ? VARIANT_TRUE : VARIANT_FALSE;
}

void Plot::Put(const Member& member, const Arguments& value) {
  if (member.id != kQuietErrorMode) {
    DispatchObject::Put(member, value);
    return;
  }
  quietErrorMode_ = value.Boolean(0);
}

void Plot::Call(const Member& member, const Arguments& arguments, VARIANT& result) {
  if (member.id != kPlotToFile) {
    DispatchObject::Call(member, arguments, result);
    return;
  }
  const bool plotted = PlotToFile(arguments);
  result.vt = VT_BOOL;
  result.boolVal = plotted ? VARIANT_TRUE : VARIANT_FALSE;
}

bool Plot::PlotToFile(const Arguments& arguments) {
  if (document_->closed) {
    throw AutomationError{E_FAIL, L"The drawing " + PlotQuoted(document_->path) + L" has been closed."};
  }
  const std::wstring path = arguments.Text(0);
  const std::wstring device = arguments.Missing(1) ? std::wstring() : arguments.Text(1);
  // As the other faults, only for the OnlyFor drawing's instance when one is named.
  const std::wstring failPlot = FaultsActHere(config(), instance()) ? config().failPlot : std::wstring();
  if (EqualsIgnoringCase(failPlot, L"error")) {
    throw AutomationError{E_FAIL, L"Plotting " + PlotQuoted(document_->path) +
                                      L" failed: the stand-in was told to fail here (FailPlot)."};
  }
  if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
    throw AutomationError{HRESULT_FROM_WIN32(ERROR_FILE_EXISTS),
                          L"The plot file " + PlotQuoted(path) + L" already exists."};
  }
  const auto fail = [&](const std::wstring& why) {
    Log(L"plot failed: " + why);
    // Without quiet error mode or PLQUIET a plot error is a dialog that
    // waits for a person.
    const bool quiet = quietErrorMode_ || instance().variables[L"PLQUIET"].number == 1;
    if (!quiet) AskModal(instance(), L"Plot error: " + why + L".", MB_OK | MB_ICONERROR);
    return false;
  };
  if (EqualsIgnoringCase(failPlot, L"false")) return fail(L"the stand-in was told to fail here (FailPlot)");
  if (instance().activeDocument != document_.get()) return fail(L"the drawing is not the active document");
  const Layout::Plotted plotted = document_->active->PlotNow(device);
  if (!plotted.pdf) return fail(plotted.failure);
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  std::error_code error;
  if (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
    return fail(L"the folder of " + PlotQuoted(path) + L" does not exist");
  }
  // Any value but 0 plots in the background: the call returns first.
  if (instance().variables[L"BACKGROUNDPLOT"].number != 0) {
    Log(L"background plot started " + path);
    TheBackgroundPlots().Start(path, *plotted.pdf);
    return true;
  }
  if (!WriteNewFile(path, *plotted.pdf)) return fail(L"cannot write " + PlotQuoted(path));
  return true;
}

}  // namespace pellacore::standin
