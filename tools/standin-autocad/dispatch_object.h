#pragma once
// The late-bound side of every stand-in object: IDispatch by a table of
// members, no type library. Names match case-insensitively; each call is
// logged with the canonical name, then checked, then run. An instance that
// has quit answers every call RPC_E_DISCONNECTED; one showing a modal
// window turns calls away with RPC_E_CALL_REJECTED.

#include <windows.h>

#include <oaidl.h>

#include <atomic>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "tools/standin-autocad/automation_error.h"
#include "tools/standin-autocad/instance_state.h"
#include "tools/standin-autocad/server_config.h"

namespace pellacore::standin {

enum class MemberKind { Property, ReadOnlyProperty, Method };

struct Member {
  std::wstring_view name;  // canonical: what the log writes and CrashIn names
  DISPID id;
  MemberKind kind;
  unsigned minArguments = 0;  // methods only
  unsigned maxArguments = 0;
};

enum class InvokeKind { Get, Put, Call };

// The arguments of one call, left to right as the client wrote them.
// Accessors convert as automation does and throw on a type that does not.
class Arguments {
 public:
  explicit Arguments(const DISPPARAMS& params);
  std::size_t size() const { return values_.size(); }
  // Not given: beyond the ones sent, empty, or the "missing" error that
  // VB-style clients send for an optional argument left out.
  bool Missing(std::size_t i) const;
  std::wstring Text(std::size_t i) const;
  long Integer(std::size_t i) const;
  bool Boolean(std::size_t i) const;
  // Not owned; null for Nothing.
  IUnknown* Object(std::size_t i) const;

 private:
  struct Value {
    const VARIANT* variant;
    UINT index;  // in rgvarg, for puArgErr
  };
  const VARIANT& At(std::size_t i) const;
  void Convert(std::size_t i, VARTYPE type, VARIANT& converted) const;
  std::vector<Value> values_;
};

// A conversion that failed: Invoke answers DISP_E_TYPEMISMATCH.
struct ArgumentTypeError {
  UINT index;  // in rgvarg
};

class DispatchObject : public IDispatch {
 public:
  DispatchObject(const DispatchObject&) = delete;
  DispatchObject& operator=(const DispatchObject&) = delete;

  // "Application", "Documents", "Document", "SelectionSets", "SelectionSet".
  virtual std::wstring_view Kind() const = 0;

  // The stand-in object behind an argument, or null for anything else. Our
  // own objects come back from the client as themselves: COM unmarshals a
  // reference to an object of this apartment to the object.
  static DispatchObject* FromUnknown(IUnknown* object);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override;
  ULONG STDMETHODCALLTYPE AddRef() noexcept override;
  ULONG STDMETHODCALLTYPE Release() noexcept override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) noexcept override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) noexcept override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argumentError) noexcept override;

 protected:
  // Every object of one instance shares `instance`.
  explicit DispatchObject(std::shared_ptr<InstanceState> instance);
  virtual ~DispatchObject();

  virtual std::span<const Member> Members() const = 0;
  // Each may throw AutomationError or ArgumentTypeError. `result` is empty
  // on entry.
  virtual void Get(const Member& member, VARIANT& result);
  virtual void Put(const Member& member, const Arguments& value);
  virtual void Call(const Member& member, const Arguments& arguments, VARIANT& result);

  // Documents.Open remembers the drawing it was asked for, before the
  // switches that may act only for that drawing.
  void NoteDrawingAsked(const Member& member, const DISPPARAMS& params);

  // The switches as this call read them.
  const Config& config() const { return *config_; }

  InstanceState& instance() const { return *instance_; }
  const std::shared_ptr<InstanceState>& sharedInstance() const { return instance_; }

  // Hands out a reference to `object` as a VT_DISPATCH result.
  static void ReturnObject(VARIANT& result, DispatchObject* object);

 private:
  const Member* Find(DISPID id) const;
  // A call the instance cannot take now (it has quit, or a modal window is
  // open), logged; S_OK when it can.
  HRESULT Refusal(const Config& config, const std::wstring& name) const;

  std::shared_ptr<InstanceState> instance_;
  std::atomic<ULONG> references_{1};
  const Config* config_ = nullptr;
};

// Fills EXCEPINFO for DISP_E_EXCEPTION: at once, or through
// pfnDeferredFillIn (DeferExceptionInfo, for in-process callers only).
void FillException(EXCEPINFO& exception, const AutomationError& error, bool deferred);

}  // namespace pellacore::standin
