// Form1's output location controls: the two option buttons, the folder text.

#include "app/form1.h"
#include "platform/folder_picker.h"
#include "platform/main_window.h"
#include "platform/settings_store.h"
#include "util/guarded.h"
#include "util/settings.h"

namespace pellacore {
namespace {

constexpr wchar_t kPushButton7[] = L"in Corvanta2021/08/31.Form1.PushButton7_Click ";

}  // namespace

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

// The browse button of the folder text: the picker opens on the folder last
// chosen with it, not on the text, which may be typed.
void Form1::PushButton7_Click() {
  GuardedProcedure guard(ports_.boxes, kPushButton7);
  std::wstring chosen;
  guard.Run(100, [&] {
    chosen = ports_.folderPicker.Browse(kFolderPrompt,
                                        ReadSetting(ports_.settings, setting_key::kLastFolderDot, L""));
  });
  if (guard.Test(102, [&] { return chosen.empty(); })) return;
  guard.Run(104, [&] { ports_.settings.Write(setting_key::kLastFolderDot, chosen); });
  if (!guard.Test(104, [&] { return chosen.ends_with(L'\\'); })) {
    guard.Run(106, [&] { SetText1(chosen + L"\\"); });
  } else {
    guard.Run(108, [&] { SetText1(chosen); });
  }
}

}  // namespace pellacore
