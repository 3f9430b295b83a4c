// The message filter's registration on the user-interface thread. Wine does
// not consult a client's filter, so only its registration and its answers
// are checked here.

#include <windows.h>

#include <ole2.h>

#include <gtest/gtest.h>

#include <thread>

#include "util/failure.h"
#include "win32/com_message_filter.h"
#include "win32/ole_session.h"

namespace pellacore {
namespace {

// The thread's filter, left registered.
win32::ComPtr<IMessageFilter> CurrentFilter() {
  win32::ComPtr<IMessageFilter> current;
  ::CoRegisterMessageFilter(nullptr, current.put());
  ::CoRegisterMessageFilter(current.get(), nullptr);
  return current;
}

TEST(MessageFilterRegistrationTest, RegistersARetryingFilterAndPutsThePreviousOneBack) {
  win32::OleSession ole;
  ASSERT_FALSE(CurrentFilter());
  {
    win32::MessageFilterRegistration outer;
    const auto filter = CurrentFilter();
    ASSERT_TRUE(filter);
    EXPECT_EQ(filter->RetryRejectedCall(nullptr, 0, SERVERCALL_RETRYLATER), 100u);
    EXPECT_EQ(filter->RetryRejectedCall(nullptr, 59'999, SERVERCALL_REJECTED), 100u);
    EXPECT_EQ(filter->RetryRejectedCall(nullptr, 60'000, SERVERCALL_RETRYLATER), static_cast<DWORD>(-1));
    EXPECT_EQ(filter->MessagePending(nullptr, 10, PENDINGTYPE_TOPLEVEL), DWORD{PENDINGMSG_WAITDEFPROCESS});
    {
      win32::MessageFilterRegistration inner;
      EXPECT_NE(CurrentFilter().get(), filter.get());
    }
    EXPECT_EQ(CurrentFilter().get(), filter.get());
  }
  EXPECT_FALSE(CurrentFilter());
}

TEST(MessageFilterRegistrationTest, AThreadOutsideASingleThreadedApartmentIsRefused) {
  long number = 0;
  std::thread([&] {
    ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    try {
      win32::MessageFilterRegistration registration;
    } catch (const Failure& failure) {
      number = failure.number();
    }
    ::CoUninitialize();
  }).join();
  EXPECT_EQ(number, CO_E_NOT_SUPPORTED);
}

}  // namespace
}  // namespace pellacore
