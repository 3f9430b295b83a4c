// Form1's output location controls: the two option buttons, the folder text.

#include "app/form1.h"
#include "app/settings.h"
#include "platform/main_window.h"
#include "platform/settings_store.h"

namespace pellacore {

void Form1::SetText1(const std::wstring& text) {
  if (text == text1_) return;
  text1_ = text;
  ports_.window.ShowText1(text1_);
  Text1_Change();
}

void Form1::Text1_Edited(const std::wstring& text) {
  text1_ = text;
  Text1_Change();
}

void Form1::Text1_Change() { ports_.settings.Write(setting_key::kLocation, text1_); }

// The two buttons are one group: selecting one clears the other.
void Form1::SetOptionValue(int option, bool selected) {
  bool& mine = option == 1 ? option1_ : option2_;
  bool& other = option == 1 ? option2_ : option1_;
  if (mine == selected) return;
  mine = selected;
  ports_.window.ShowOption(option, selected);
  if (!selected) return;
  if (other) {
    other = false;
    ports_.window.ShowOption(option == 1 ? 2 : 1, false);
  }
  if (option == 1) {
    Option1_Click();
  } else {
    Option2_Click();
  }
}

void Form1::Option1_Selected() { SetOptionValue(1, true); }
void Form1::Option2_Selected() { SetOptionValue(2, true); }

void Form1::Option1_Click() { SaveOptions(); }
void Form1::Option2_Click() { SaveOptions(); }

void Form1::SaveOptions() {
  ports_.settings.Write(setting_key::kOption1, BooleanSettingText(option1_));
  ports_.settings.Write(setting_key::kOption2, BooleanSettingText(option2_));
  SetFrame3Enabled(option1_);
}

void Form1::SetFrame3Enabled(bool enabled) {
  frame3Enabled_ = enabled;
  ports_.window.EnableFrame3(enabled);
}

}  // namespace pellacore
