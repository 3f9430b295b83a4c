#include "tools/standin-autocad/autocad_objects.h"

#include <array>

#include "tools/standin-autocad/call_log.h"
#include "tools/standin-autocad/export_bitmap.h"
#include "tools/standin-autocad/modal_question.h"
#include "tools/standin-autocad/server_lifetime.h"
#include "win32/unique_resource.h"

namespace pellacore::standin {

namespace {

enum : DISPID {
  kWindowState = 1,
  kDocuments,
  kApplication,
  kVisible,
  kQuit,
  kOpen,
  kSelectionSets,
  kExport,
  kClose,
  kAdd,
  kSelect,
  kHwnd,
  kCount,
  kLayouts,
  kActiveLayout,
  kPlot,
  kSetVariable,
  kGetVariable,
  kActivate,
  kActiveDocument,
};

constexpr std::array kApplicationMembers = {
    Member{L"WindowState", kWindowState, MemberKind::Property},
    Member{L"Documents", kDocuments, MemberKind::ReadOnlyProperty},
    Member{L"Application", kApplication, MemberKind::ReadOnlyProperty},
    Member{L"Visible", kVisible, MemberKind::Property},
    Member{L"Quit", kQuit, MemberKind::Method, 0, 0},
    Member{L"HWND", kHwnd, MemberKind::ReadOnlyProperty},
    Member{L"ActiveDocument", kActiveDocument, MemberKind::ReadOnlyProperty},
};

// Open(Name, [ReadOnly], [Password]).
constexpr std::array kDocumentsMembers = {
    Member{L"Open", kOpen, MemberKind::Method, 1, 3},
    Member{L"Count", kCount, MemberKind::ReadOnlyProperty},
};

// Export(FileName, Extension, SelectionSet); Close([SaveChanges], [FileName]).
constexpr std::array kDocumentMembers = {
    Member{L"SelectionSets", kSelectionSets, MemberKind::ReadOnlyProperty},
    Member{L"Export", kExport, MemberKind::Method, 3, 3},
    Member{L"Close", kClose, MemberKind::Method, 0, 2},
    Member{L"Layouts", kLayouts, MemberKind::ReadOnlyProperty},
    Member{L"ActiveLayout", kActiveLayout, MemberKind::Property},
    Member{L"Plot", kPlot, MemberKind::ReadOnlyProperty},
    Member{L"SetVariable", kSetVariable, MemberKind::Method, 2, 2},
    Member{L"GetVariable", kGetVariable, MemberKind::Method, 1, 1},
    Member{L"Activate", kActivate, MemberKind::Method, 0, 0},
};

constexpr std::array kSelectionSetsMembers = {
    Member{L"add", kAdd, MemberKind::Method, 1, 1},
};

// Select(Mode, [Point1], [Point2], [FilterType], [FilterData]).
constexpr std::array kSelectionSetMembers = {
    Member{L"Select", kSelect, MemberKind::Method, 1, 5},
};

constexpr long kSelectAll = 5;  // acSelectionSetAll

std::wstring Quoted(const std::wstring& text) { return L"\"" + text + L"\""; }

std::wstring FileNameOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::string ReadWholeFile(const std::wstring& path) {
  const auto cannotOpen = [&](HRESULT code, const std::wstring& why) {
    return AutomationError{code, L"Cannot open the drawing " + Quoted(path) + L": " + why};
  };
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = ::GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME) {
      throw cannotOpen(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), L"the file does not exist.");
    }
    throw cannotOpen(HRESULT_FROM_WIN32(error), SystemText(error));
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    throw cannotOpen(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), L"it is a folder, not a drawing.");
  }
  win32::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = ::GetLastError();
    throw cannotOpen(HRESULT_FROM_WIN32(error), SystemText(error));
  }
  std::string content;
  char buffer[65536];
  DWORD read = 0;
  while (::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) content.append(buffer, read);
  return content;
}

}  // namespace

// The state every object of an instance shares holds its open drawings.
InstanceState::InstanceState() = default;
InstanceState::~InstanceState() = default;

// Application

Application::Application() : DispatchObject(std::make_shared<InstanceState>()) {
  instance().mainWindow = window_.handle();
  documents_.reset(new Documents(sharedInstance()));
  Log(L"Application created");
}

// The open drawings hold the instance's state, which holds them.
Application::~Application() { instance().openDocuments.clear(); }

std::span<const Member> Application::Members() const { return kApplicationMembers; }

void Application::OpenAtStart(const std::wstring& path, const Config& config) { documents_->Add(path, config); }

std::vector<std::wstring> Application::OpenDrawingPaths() const {
  std::vector<std::wstring> paths;
  for (const ComPtr<Document>& document : instance().openDocuments) paths.push_back(document->path());
  return paths;
}

void Application::Get(const Member& member, VARIANT& result) {
  switch (member.id) {
    case kWindowState:
      result.vt = VT_I4;
      result.lVal = windowState_;
      return;
    case kVisible:
      result.vt = VT_BOOL;
      result.boolVal = visible_ ? VARIANT_TRUE : VARIANT_FALSE;
      return;
    case kDocuments:
      ReturnObject(result, documents_.get());
      return;
    case kApplication:
      ReturnObject(result, this);
      return;
    case kHwnd:
      // A 64-bit AutoCAD answers its LONG_PTR as VT_I8.
      result.vt = VT_I8;
      result.llVal = static_cast<LONGLONG>(reinterpret_cast<LONG_PTR>(window_.handle()));
      return;
    case kActiveDocument:
      for (const ComPtr<Document>& document : instance().openDocuments) {
        if (document->plotState() == instance().activeDocument) {
          ReturnObject(result, document.get());
          return;
        }
      }
      throw AutomationError{E_FAIL, L"No drawing is open."};
    default:
      DispatchObject::Get(member, result);
  }
}

void Application::Put(const Member& member, const Arguments& value) {
  switch (member.id) {
    case kWindowState: {
      const long state = value.Integer(0);
      // acNorm 1, acMin 2, acMax 3.
      if (state < 1 || state > 3) {
        throw AutomationError{E_INVALIDARG, L"Invalid window state " + std::to_wstring(state) + L"."};
      }
      windowState_ = state;
      return;
    }
    case kVisible:
      visible_ = value.Boolean(0);
      window_.Show(visible_);
      return;
    default:
      DispatchObject::Put(member, value);
  }
}

void Application::Call(const Member& member, const Arguments& arguments, VARIANT& result) {
  if (member.id != kQuit) {
    DispatchObject::Call(member, arguments, result);
    return;
  }
  Quit();
}

void Application::Quit() {
  // Drawings with unsaved changes are asked about one by one; a cancel keeps
  // the instance running.
  std::vector<Document*> open;
  for (const ComPtr<Document>& document : instance().openDocuments) open.push_back(document.get());
  for (Document* document : open) {
    if (document->modified() && !document->AskToSave(L"Quit")) {
      throw AutomationError{E_ABORT, L"Quit was cancelled: " + Quoted(FileNameOf(document->path())) +
                                         L" has unsaved changes."};
    }
  }
  // The reply to Quit still leaves; from now on the instance answers as a
  // disconnected one until its process ends.
  instance().quit = true;
  lifetime::RequestExit(config().lingerAfterQuitMs);
}

// Documents

std::span<const Member> Documents::Members() const { return kDocumentsMembers; }

void Documents::Get(const Member& member, VARIANT& result) {
  if (member.id != kCount) {
    DispatchObject::Get(member, result);
    return;
  }
  result.vt = VT_I4;
  result.lVal = static_cast<LONG>(instance().openDocuments.size());
}

void Documents::Call(const Member& member, const Arguments& arguments, VARIANT& result) {
  if (member.id != kOpen) {
    DispatchObject::Call(member, arguments, result);
    return;
  }
  ReturnObject(result, &Add(arguments.Text(0), config()));
}

Document& Documents::Add(const std::wstring& path, const Config& config) {
  if (!config.failOpen.empty() && EqualsIgnoringCase(path, config.failOpen)) {
    throw AutomationError{E_FAIL, L"Cannot open the drawing " + Quoted(path) +
                                      L": the stand-in was told to fail here (FailOpen)."};
  }
  const std::string content = ReadWholeFile(path);
  std::optional<Drawing> drawing;
  if (LooksLikeDxf(content)) {
    DxfResult read = ReadDxf(content);
    if (!read.drawing) {
      std::wstring message;
      for (char c : read.error.message) message += static_cast<wchar_t>(static_cast<unsigned char>(c));
      throw AutomationError{E_FAIL, L"Cannot open the drawing " + Quoted(path) + L": not a valid DXF file (line " +
                                        std::to_wstring(read.error.line) + L": " + message + L")."};
    }
    drawing = std::move(read.drawing);
  }
  // The new object's one reference goes to the open drawings.
  instance().openDocuments.emplace_back(
      new Document(sharedInstance(), path, std::move(drawing), config.modifiedOnOpen));
  // A drawing just opened is the active one.
  instance().activeDocument = instance().openDocuments.back()->plotState();
  return *instance().openDocuments.back().get();
}

// Document

Document::Document(std::shared_ptr<InstanceState> instance, std::wstring path, std::optional<Drawing> drawing,
                   bool modified)
    : DispatchObject(std::move(instance)), path_(std::move(path)), drawing_(std::move(drawing)), modified_(modified) {
  for (LayoutContent& content : LayoutsOf(drawing_, path_)) {
    layoutList_.emplace_back(new Layout(sharedInstance(), std::move(content)));
  }
  std::vector<ComPtr<Layout>> listed;
  for (const ComPtr<Layout>& layout : layoutList_) listed.push_back(AnotherReference(layout.get()));
  layouts_.reset(new Layouts(sharedInstance(), std::move(listed)));
  plotState_ = std::make_shared<DocumentPlotState>(
      DocumentPlotState{path_, AnotherReference(layoutList_.front().get()), false});
}

std::span<const Member> Document::Members() const { return kDocumentMembers; }

void Document::RequireOpen() const {
  if (closed_) throw AutomationError{E_FAIL, L"The drawing " + Quoted(path_) + L" has been closed."};
}

void Document::Get(const Member& member, VARIANT& result) {
  RequireOpen();
  switch (member.id) {
    case kSelectionSets:
      if (!selectionSets_) selectionSets_.reset(new SelectionSets(sharedInstance()));
      ReturnObject(result, selectionSets_.get());
      return;
    case kLayouts:
      ReturnObject(result, layouts_.get());
      return;
    case kActiveLayout:
      ReturnObject(result, plotState_->active.get());
      return;
    case kPlot:
      if (!plot_) plot_.reset(new Plot(sharedInstance(), plotState_));
      ReturnObject(result, plot_.get());
      return;
    default:
      DispatchObject::Get(member, result);
  }
}

void Document::Put(const Member& member, const Arguments& value) {
  if (member.id != kActiveLayout) {
    DispatchObject::Put(member, value);
    return;
  }
  RequireOpen();
  DispatchObject* object = DispatchObject::FromUnknown(value.Object(0));
  for (const ComPtr<Layout>& layout : layoutList_) {
    if (layout.get() == object) {
      plotState_->active = AnotherReference(layout.get());
      return;
    }
  }
  throw AutomationError{E_INVALIDARG, L"ActiveLayout takes a layout of the drawing " + Quoted(path_) + L"."};
}

void Document::Call(const Member& member, const Arguments& arguments, VARIANT& result) {
  switch (member.id) {
    case kExport:
      Export(arguments);
      return;
    case kClose:
      Close(arguments);
      return;
    case kSetVariable:
      SetVariable(arguments);
      return;
    case kGetVariable:
      GetVariable(arguments, result);
      return;
    case kActivate:
      RequireOpen();
      instance().activeDocument = plotState_.get();
      return;
    default:
      DispatchObject::Call(member, arguments, result);
  }
}

// SetVariable(Name, Value): numbers go as integers, whatever VARTYPE
// carries them; a name the stand-in does not keep is refused.
void Document::SetVariable(const Arguments& arguments) {
  RequireOpen();
  const std::wstring name = arguments.Text(0);
  if (EqualsIgnoringCase(name, L"EXTMIN") || EqualsIgnoringCase(name, L"EXTMAX")) {
    throw AutomationError{E_INVALIDARG, L"The system variable " + Quoted(name) + L" is read-only."};
  }
  const SystemVariableSpec* spec = FindSystemVariable(name);
  if (!spec) throw AutomationError{E_INVALIDARG, L"Unknown system variable " + Quoted(name) + L"."};
  SystemVariableValue value{spec->isText, 0, {}};
  if (spec->isText) {
    value.text = arguments.Text(1);
  } else {
    value.number = arguments.Integer(1);
    if (const auto refused = RefuseNumber(*spec, value.number)) throw AutomationError{E_INVALIDARG, *refused};
  }
  instance().variables[std::wstring(spec->name)] = value;
}

void Document::GetVariable(const Arguments& arguments, VARIANT& result) const {
  RequireOpen();
  const std::wstring name = arguments.Text(0);
  if (EqualsIgnoringCase(name, L"EXTMIN") || EqualsIgnoringCase(name, L"EXTMAX")) {
    ReturnExtentsCorner(EqualsIgnoringCase(name, L"EXTMAX"), result);
    return;
  }
  const SystemVariableSpec* spec = FindSystemVariable(name);
  if (!spec) throw AutomationError{E_INVALIDARG, L"Unknown system variable " + Quoted(name) + L"."};
  const SystemVariableValue& value = instance().variables[std::wstring(spec->name)];
  if (value.isText) {
    result.vt = VT_BSTR;
    result.bstrVal = ::SysAllocString(value.text.c_str());
    return;
  }
  result.vt = VT_I2;
  result.iVal = static_cast<SHORT>(value.number);
}

// EXTMIN or EXTMAX of the active layout, as AutoCAD gives a point: three
// doubles. A layout with nothing in it has its extents turned inside out.
void Document::ReturnExtentsCorner(bool upper, VARIANT& result) const {
  constexpr double kNothing = 1e20;
  const std::optional<Box> box = plotState_->active->Extents();
  double corner[3] = {upper ? -kNothing : kNothing, upper ? -kNothing : kNothing, upper ? -kNothing : kNothing};
  if (box) {
    corner[0] = upper ? box->right : box->left;
    corner[1] = upper ? box->top : box->bottom;
    corner[2] = 0;
  }
  SAFEARRAY* array = ::SafeArrayCreateVector(VT_R8, 0, 3);
  if (!array) throw AutomationError{E_OUTOFMEMORY, L"Out of memory."};
  for (LONG i = 0; i < 3; ++i) ::SafeArrayPutElement(array, &i, &corner[i]);
  result.vt = VT_ARRAY | VT_R8;
  result.parray = array;
}

bool Document::AskToSave(std::wstring_view member) {
  const std::wstring name = FileNameOf(path_);
  Log(L"save question shown in " + std::wstring(member) + L" (" + name + L")");
  const int answer = AskModal(instance(), L"Save changes to " + name + L"?", MB_YESNOCANCEL | MB_ICONWARNING);
  Log(std::wstring(L"save question answered ") +
      (answer == IDYES ? L"Yes" : answer == IDNO ? L"No" : L"Cancel"));
  if (answer != IDYES && answer != IDNO) return false;
  modified_ = false;
  return true;
}

// Close([SaveChanges], [FileName]): with changes, False discards them; left
// out or True, a person is asked.
void Document::Close(const Arguments& arguments) {
  RequireOpen();
  const bool ask = arguments.Missing(0) || arguments.Boolean(0);
  if (modified_ && ask && !AskToSave(L"Close")) {
    throw AutomationError{E_ABORT, L"Closing " + Quoted(FileNameOf(path_)) + L" was cancelled."};
  }
  closed_ = true;
  plotState_->closed = true;
  auto& open = instance().openDocuments;
  for (auto it = open.begin(); it != open.end(); ++it) {
    if (it->get() != this) continue;
    // The caller holds a reference of its own: this object outlives the call.
    open.erase(it);
    break;
  }
  // The drawing opened last before it becomes the active one.
  if (instance().activeDocument == plotState_.get()) {
    instance().activeDocument = open.empty() ? nullptr : open.back()->plotState();
  }
}

void Document::Export(const Arguments& arguments) {
  RequireOpen();
  const std::wstring stem = arguments.Text(0);
  const std::wstring format = arguments.Text(1);
  if (!EqualsIgnoringCase(format, L"BMP")) {
    throw AutomationError{E_INVALIDARG,
                          L"Export format " + Quoted(format) + L" is not supported; the stand-in writes BMP only."};
  }
  DispatchObject* object = DispatchObject::FromUnknown(arguments.Object(2));
  if (!object || object->Kind() != L"SelectionSet") {
    throw AutomationError{E_INVALIDARG, L"The third argument of Export is not a selection set."};
  }
  const auto* selection = static_cast<SelectionSet*>(object);
  if (!selection->selected()) {
    throw AutomationError{E_FAIL, L"The selection set " + Quoted(selection->name()) + L" is empty."};
  }
  if (config().exportWithoutFile) return;
  // The extension is appended whatever the case of the drawing's own.
  if (!config().unreadableBitmap.empty() && EqualsIgnoringCase(path_, config().unreadableBitmap)) {
    WriteUnreadableBitmap(stem + L".bmp");
    return;
  }
  WriteExportBitmap(drawing_, path_, stem + L".bmp");
}

// SelectionSets

std::span<const Member> SelectionSets::Members() const { return kSelectionSetsMembers; }

void SelectionSets::Call(const Member& member, const Arguments& arguments, VARIANT& result) {
  if (member.id != kAdd) {
    DispatchObject::Call(member, arguments, result);
    return;
  }
  const std::wstring name = arguments.Text(0);
  if (name.empty()) throw AutomationError{E_INVALIDARG, L"A selection set needs a name."};
  auto* set = new SelectionSet(sharedInstance(), name);
  ReturnObject(result, set);
  set->Release();
}

// SelectionSet

std::span<const Member> SelectionSet::Members() const { return kSelectionSetMembers; }

void SelectionSet::Call(const Member& member, const Arguments& arguments, VARIANT& result) {
  if (member.id != kSelect) {
    DispatchObject::Call(member, arguments, result);
    return;
  }
  const long mode = arguments.Integer(0);
  if (mode == kSelectAll) {
    selected_ = true;
    return;
  }
  if (mode >= 0 && mode < kSelectAll) {
    throw AutomationError{E_NOTIMPL, L"Selection mode " + std::to_wstring(mode) +
                                         L" is not supported by the stand-in; only 5 (all) is."};
  }
  throw AutomationError{E_INVALIDARG, L"Invalid selection mode " + std::to_wstring(mode) + L"."};
}

}  // namespace pellacore::standin
