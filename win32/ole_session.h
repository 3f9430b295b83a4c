#pragma once
// OLE on the user-interface thread, for the whole life of the program: drag
// and drop needs it. A crash inside a COM callback is not swallowed by COM.

#include <windows.h>

#include <ole2.h>

namespace pellacore::win32 {

class OleSession {
 public:
  OleSession();
  OleSession(const OleSession&) = delete;
  OleSession& operator=(const OleSession&) = delete;
  ~OleSession();

 private:
  bool initialized_ = false;
};

}  // namespace pellacore::win32
