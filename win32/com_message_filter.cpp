#include "win32/com_message_filter.h"

#include "win32/com_failure.h"

namespace pellacore::win32 {
namespace {

constexpr DWORD kRetryAfterMilliseconds = 100;
constexpr DWORD kRetryForMilliseconds = 60'000;
constexpr DWORD kCancelCall = static_cast<DWORD>(-1);

// COM calls these from its own loop: nothing here may throw.
class RetryingMessageFilter final : public IMessageFilter {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) noexcept override {
    if (!object) return E_POINTER;
    if (id == IID_IUnknown || id == IID_IMessageFilter) {
      *object = static_cast<IMessageFilter*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override {
    return static_cast<ULONG>(::InterlockedIncrement(&references_));
  }
  ULONG STDMETHODCALLTYPE Release() noexcept override {
    const LONG left = ::InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // The program serves no calls of its own; take whatever comes.
  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) noexcept override {
    return SERVERCALL_ISHANDLED;
  }

  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD elapsed, DWORD rejectType) noexcept override {
    const bool busy = rejectType == SERVERCALL_RETRYLATER || rejectType == SERVERCALL_REJECTED;
    return busy && elapsed < kRetryForMilliseconds ? kRetryAfterMilliseconds : kCancelCall;
  }

  // Messages that arrive while waiting for the server are handled as usual.
  DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) noexcept override {
    return PENDINGMSG_WAITDEFPROCESS;
  }

 private:
  LONG references_ = 1;
};

}  // namespace

MessageFilterRegistration::MessageFilterRegistration() {
  const ComPtr<IMessageFilter> filter(new RetryingMessageFilter);
  const HRESULT status = ::CoRegisterMessageFilter(filter.get(), previous_.put());
  if (FAILED(status)) throw ComFailure(status);
}

MessageFilterRegistration::~MessageFilterRegistration() {
  ::CoRegisterMessageFilter(previous_.get(), nullptr);
}

}  // namespace pellacore::win32
