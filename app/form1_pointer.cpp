// Form1's pointer feedback.

#include "app/form1.h"
#include "platform/main_window.h"

namespace pellacore {

void Form1::SetMousePointer(int code) {
  mousePointer_ = code;
  ports_.window.ShowPointer(code);
}

void Form1::PointerOverPlainArea() {
  if (mousePointer_ != pointer_code::kHourglass) SetMousePointer(pointer_code::kDefault);
}

void Form1::PointerOverButton() {
  if (mousePointer_ != pointer_code::kHourglass) SetMousePointer(pointer_code::kCustom);
}

void Form1::Form_MouseMove() { PointerOverPlainArea(); }
void Form1::Frame1_MouseMove() { PointerOverPlainArea(); }
void Form1::Frame3_MouseMove() { PointerOverPlainArea(); }
void Form1::Option1_MouseMove() { PointerOverPlainArea(); }
void Form1::Option2_MouseMove() { PointerOverPlainArea(); }
void Form1::Text1_MouseMove() { PointerOverPlainArea(); }

void Form1::PushButton1_MouseMove() { PointerOverButton(); }
void Form1::PushButton2_MouseMove() { PointerOverButton(); }
void Form1::PushButton3_MouseMove() { PointerOverButton(); }
void Form1::PushButton4_MouseMove() { PointerOverButton(); }
void Form1::PushButton7_MouseMove() { PointerOverButton(); }
void Form1::PushButton8_MouseMove() { PointerOverButton(); }

}  // namespace pellacore
