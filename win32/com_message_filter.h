#pragma once
// A COM message filter for the user-interface thread while it calls a busy
// automation server: a call the server rejects or asks to retry later is
// made again every 100 ms for up to a minute before COM reports it, and the
// window keeps handling its messages meanwhile.

#include <windows.h>

#include <ole2.h>

#include "win32/com_resource.h"

namespace pellacore::win32 {

class MessageFilterRegistration {
 public:
  // Raises when COM refuses, as on a thread outside a single-threaded
  // apartment.
  MessageFilterRegistration();
  MessageFilterRegistration(const MessageFilterRegistration&) = delete;
  MessageFilterRegistration& operator=(const MessageFilterRegistration&) = delete;
  // Puts back the filter that was registered before.
  ~MessageFilterRegistration();

 private:
  ComPtr<IMessageFilter> previous_;
};

}  // namespace pellacore::win32
