#pragma once
// The program's last word: a failure that nothing handled on its way up
// ends the program with a box that says what it was.

#include <string>

namespace pellacore::win32 {

// What the failure in flight was; called inside a catch block.
std::wstring DescribeCurrentFailure();

// The box's title: the application's title, or the product's name while the
// title is not known yet.
std::wstring FatalFailureTitle(const std::wstring& applicationTitle);

// Tells the failure in flight (called inside a catch block) and answers the
// program's exit code, which is never 0.
int TellFatalFailure(const std::wstring& applicationTitle) noexcept;

}  // namespace pellacore::win32
