#include "tools/standin-autocad/dispatch_object.h"

#include <mutex>
#include <utility>

#include "tools/standin-autocad/call_log.h"
#include "tools/standin-autocad/member_switches.h"
#include "tools/standin-autocad/registration.h"
#include "tools/standin-autocad/server_lifetime.h"
#include "tools/standin-autocad/variant_text.h"
#include "win32/com_resource.h"

namespace pellacore::standin {

using win32::UniqueVariant;

namespace {

// Answered only inside this process: tells our own objects among arguments.
// {FA519426-B2E9-4325-BEFD-ED6C9D5AC16D}
constexpr IID kOwnObject = {0xfa519426, 0xb2e9, 0x4325, {0xbe, 0xfd, 0xed, 0x6c, 0x9d, 0x5a, 0xc1, 0x6d}};

// Calls answered RPC_E_CALL_REJECTED so far in this process.
long rejectedCalls = 0;

std::mutex pendingLock;
AutomationError pending;

void FillNow(EXCEPINFO& exception, const AutomationError& error) {
  exception = EXCEPINFO{};
  exception.bstrSource = ::SysAllocStringLen(kProgId.data(), static_cast<UINT>(kProgId.size()));
  exception.bstrDescription = ::SysAllocString(error.description.c_str());
  exception.scode = error.code;
}

HRESULT STDAPICALLTYPE FillDeferred(EXCEPINFO* exception) {
  if (!exception) return E_POINTER;
  std::lock_guard<std::mutex> hold(pendingLock);
  FillNow(*exception, pending);
  return S_OK;
}

const wchar_t* KindWord(InvokeKind kind) {
  switch (kind) {
    case InvokeKind::Get: return L"get";
    case InvokeKind::Put: return L"put";
    case InvokeKind::Call: return L"call";
  }
  return L"?";
}

// How the flags call the member, and whether the member can be called so.
bool ResolveKind(const Member& member, WORD flags, InvokeKind& kind) {
  if (member.kind == MemberKind::Method) {
    if (flags & DISPATCH_METHOD) {
      kind = InvokeKind::Call;
      return true;
    }
    kind = (flags & DISPATCH_PROPERTYGET) ? InvokeKind::Get : InvokeKind::Put;
    return false;
  }
  // VB-style clients get properties with DISPATCH_METHOD|DISPATCH_PROPERTYGET.
  if (flags & DISPATCH_PROPERTYGET) {
    kind = InvokeKind::Get;
    return true;
  }
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    kind = InvokeKind::Put;
    return member.kind == MemberKind::Property;
  }
  kind = InvokeKind::Call;
  return false;
}

HRESULT CheckShape(const Member& member, InvokeKind kind, const DISPPARAMS& params) {
  switch (kind) {
    case InvokeKind::Get:
      if (params.cNamedArgs != 0) return DISP_E_NONAMEDARGS;
      return params.cArgs == 0 ? S_OK : DISP_E_BADPARAMCOUNT;
    case InvokeKind::Put:
      if (params.cNamedArgs != 1 || !params.rgdispidNamedArgs ||
          params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
        return DISP_E_PARAMNOTFOUND;
      }
      return params.cArgs == 1 ? S_OK : DISP_E_BADPARAMCOUNT;
    case InvokeKind::Call:
      if (params.cNamedArgs != 0) return DISP_E_NONAMEDARGS;
      return params.cArgs >= member.minArguments && params.cArgs <= member.maxArguments ? S_OK
                                                                                         : DISP_E_BADPARAMCOUNT;
  }
  return E_UNEXPECTED;
}

// The switches that one call read, visible to the member while it runs.
class ConfigScope {
 public:
  ConfigScope(const Config*& slot, const Config* config) : slot_(slot), outer_(std::exchange(slot, config)) {}
  ConfigScope(const ConfigScope&) = delete;
  ConfigScope& operator=(const ConfigScope&) = delete;
  ~ConfigScope() { slot_ = outer_; }

 private:
  const Config*& slot_;
  const Config* outer_;
};

}  // namespace

void FillException(EXCEPINFO& exception, const AutomationError& error, bool deferred) {
  if (!deferred) {
    FillNow(exception, error);
    return;
  }
  {
    std::lock_guard<std::mutex> hold(pendingLock);
    pending = error;
  }
  exception = EXCEPINFO{};
  exception.pfnDeferredFillIn = &FillDeferred;
}

Arguments::Arguments(const DISPPARAMS& params) {
  for (UINT index : NaturalOrder(params)) values_.push_back({&params.rgvarg[index], index});
}

const VARIANT& Arguments::At(std::size_t i) const {
  const VARIANT& value = *values_.at(i).variant;
  if (value.vt == (VT_VARIANT | VT_BYREF) && value.pvarVal) return *value.pvarVal;
  return value;
}

void Arguments::Convert(std::size_t i, VARTYPE type, VARIANT& converted) const {
  if (FAILED(::VariantChangeType(&converted, const_cast<VARIANT*>(&At(i)), 0, type))) {
    throw ArgumentTypeError{values_[i].index};
  }
}

bool Arguments::Missing(std::size_t i) const {
  if (i >= values_.size()) return true;
  const VARIANT& value = At(i);
  return value.vt == VT_EMPTY || (value.vt == VT_ERROR && value.scode == DISP_E_PARAMNOTFOUND);
}

std::wstring Arguments::Text(std::size_t i) const {
  UniqueVariant text;
  Convert(i, VT_BSTR, *text.get());
  return (*text).bstrVal ? (*text).bstrVal : L"";
}

long Arguments::Integer(std::size_t i) const {
  UniqueVariant number;
  Convert(i, VT_I4, *number.get());
  return (*number).lVal;
}

bool Arguments::Boolean(std::size_t i) const {
  UniqueVariant flag;
  Convert(i, VT_BOOL, *flag.get());
  return (*flag).boolVal != VARIANT_FALSE;
}

IUnknown* Arguments::Object(std::size_t i) const {
  const VARIANT& value = At(i);
  switch (value.vt) {
    case VT_DISPATCH: return value.pdispVal;
    case VT_UNKNOWN: return value.punkVal;
    case VT_DISPATCH | VT_BYREF: return value.ppdispVal ? *value.ppdispVal : nullptr;
    case VT_UNKNOWN | VT_BYREF: return value.ppunkVal ? *value.ppunkVal : nullptr;
    default: throw ArgumentTypeError{values_[i].index};
  }
}

DispatchObject::DispatchObject(std::shared_ptr<InstanceState> instance) : instance_(std::move(instance)) {
  lifetime::ObjectCreated();
}

DispatchObject::~DispatchObject() { lifetime::ObjectDestroyed(); }

DispatchObject* DispatchObject::FromUnknown(IUnknown* object) {
  if (!object) return nullptr;
  void* own = nullptr;
  if (FAILED(object->QueryInterface(kOwnObject, &own)) || !own) return nullptr;
  auto* found = static_cast<DispatchObject*>(own);
  // The argument keeps it alive; the caller does not own a reference.
  found->Release();
  return found;
}

HRESULT DispatchObject::QueryInterface(REFIID iid, void** object) noexcept {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kOwnObject) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG DispatchObject::AddRef() noexcept { return ++references_; }

ULONG DispatchObject::Release() noexcept {
  const ULONG left = --references_;
  if (left == 0) delete this;
  return left;
}

HRESULT DispatchObject::GetTypeInfoCount(UINT* count) noexcept {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT DispatchObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) noexcept {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT DispatchObject::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (!names || !ids || count == 0) return E_INVALIDARG;
  try {
    for (UINT i = 0; i < count; ++i) ids[i] = DISPID_UNKNOWN;
    const Member* found = nullptr;
    for (const Member& member : Members()) {
      if (names[0] && EqualsIgnoringCase(member.name, names[0])) found = &member;
    }
    // Looking a name up is a call into the server too.
    const std::wstring name =
        std::wstring(Kind()) + L"." + (found ? std::wstring(found->name) : std::wstring(names[0] ? names[0] : L""));
    if (const HRESULT refused = Refusal(ReadConfig(), name); FAILED(refused)) return refused;
    if (found) ids[0] = found->id;
    if (ids[0] == DISPID_UNKNOWN) {
      Log(std::wstring(Kind()) + L"." + (names[0] ? names[0] : L"") + L" unknown name");
      return DISP_E_UNKNOWNNAME;
    }
    // No member takes named arguments.
    return count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

HRESULT DispatchObject::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                               EXCEPINFO* exception, UINT* argumentError) noexcept {
  try {
    const Config config = ReadConfig();
    const Member* member = Find(id);
    const std::wstring name = std::wstring(Kind()) + L"." +
                              (member ? std::wstring(member->name) : L"#" + std::to_wstring(id));
    if (const HRESULT refused = Refusal(config, name); FAILED(refused)) return refused;
    // A busy server turns calls away before looking at them.
    if (rejectedCalls < config.rejectCalls) {
      ++rejectedCalls;
      Log(config, name + L" rejected");
      return RPC_E_CALL_REJECTED;
    }
    if (!member) return DISP_E_MEMBERNOTFOUND;
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!params) return E_INVALIDARG;

    InvokeKind kind = InvokeKind::Call;
    const bool callable = ResolveKind(*member, flags, kind);
    Log(config, name + L" " + KindWord(kind) + L" " + ArgumentsText(*params));
    NoteDrawingAsked(*member, *params);
    // From the Open of a drawing the fault plan names, its switches act.
    const Config planned = WithFaultPlan(config, instance_->askedToOpen);
    ApplyMemberSwitches(planned, member->name, *instance_);
    if (!callable) return DISP_E_MEMBERNOTFOUND;
    if (const HRESULT shape = CheckShape(*member, kind, *params); FAILED(shape)) return shape;

    const Arguments arguments(*params);
    UniqueVariant value;
    try {
      const ConfigScope scope(config_, &planned);
      switch (kind) {
        case InvokeKind::Get: Get(*member, *value.get()); break;
        case InvokeKind::Put: Put(*member, arguments); break;
        case InvokeKind::Call: Call(*member, arguments, *value.get()); break;
      }
    } catch (const AutomationError& error) {
      // Across processes the fill-in cannot be deferred: Windows' marshaller
      // runs it in the server, Wine would hand the client a pointer into this
      // process. Either way the client gets EXCEPINFO filled.
      if (exception) {
        FillException(*exception, error, config.deferExceptionInfo && !lifetime::ServesOtherProcesses());
      }
      return DISP_E_EXCEPTION;
    } catch (const ArgumentTypeError& error) {
      if (argumentError) *argumentError = error.index;
      return DISP_E_TYPEMISMATCH;
    }
    if (result) {
      ::VariantInit(result);
      *result = *value;
      value.get()->vt = VT_EMPTY;  // handed over
    }
    return S_OK;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

void DispatchObject::NoteDrawingAsked(const Member& member, const DISPPARAMS& params) {
  if (Kind() != L"Documents" || member.name != L"Open" || params.cArgs == 0) return;
  try {
    instance_->askedToOpen.push_back(Arguments(params).Text(0));
  } catch (...) {
    // An argument that is no text names no drawing; Open itself says so.
  }
}

void DispatchObject::Get(const Member&, VARIANT&) { throw AutomationError{E_NOTIMPL, L"Not implemented."}; }

void DispatchObject::Put(const Member&, const Arguments&) {
  throw AutomationError{E_NOTIMPL, L"Not implemented."};
}

void DispatchObject::Call(const Member&, const Arguments&, VARIANT&) {
  throw AutomationError{E_NOTIMPL, L"Not implemented."};
}

void DispatchObject::ReturnObject(VARIANT& result, DispatchObject* object) {
  object->AddRef();
  result.vt = VT_DISPATCH;
  result.pdispVal = object;
}

HRESULT DispatchObject::Refusal(const Config& config, const std::wstring& name) const {
  if (instance_->quit) {
    Log(config, name + L" disconnected");
    return RPC_E_DISCONNECTED;
  }
  if (instance_->modalWindows > 0) {
    Log(config, name + L" rejected");
    return RPC_E_CALL_REJECTED;
  }
  return S_OK;
}

const Member* DispatchObject::Find(DISPID id) const {
  for (const Member& member : Members()) {
    if (member.id == id) return &member;
  }
  return nullptr;
}

}  // namespace pellacore::standin
