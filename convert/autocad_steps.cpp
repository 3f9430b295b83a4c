#include "convert/autocad_steps.h"

#include "platform/message_boxes.h"
#include "util/product.h"

namespace pellacore {

bool AutoCadSteps::Obtain(MessageBoxes& boxes, const std::wstring& title) {
  const auto quietly = [](auto&& obtain) {
    try {
      obtain();
    } catch (const Failure& failure) {
      if (IsTimeOut(failure)) throw;
    }
  };
  Run(102, [&] { quietly([&] { instances_.Attach(); }); });
  if (guard_.Test(104, [&] { return !lost_ && !instances_.HasInstance(); })) {
    guard_.Run(106, [] {});  // the attach failure is cleared, never reported
    Run(108, [&] { quietly([&] { instances_.Start(); }); });
    if (guard_.Test(110, [&] { return !lost_ && !instances_.HasInstance(); })) {
      guard_.Run(112, [&] { boxes.Show(kNoAutoCadInstance, title, MessageButtons::kOk, MessageIcon::kNone); });
      return false;
    }
  }
  return true;
}

void AutoCadSteps::Lose(const Failure& failure) {
  lost_ = IsTimeOut(failure) ? AutoCadWorkEnd::kTimedOut : AutoCadWorkEnd::kAutoCadEnded;
  const AutoCadInstances::GivenUp what = instances_.GiveUp();
  throw Failure(failure.number(), LostInstanceText(failure, what, drawing_, seconds_));
}

std::wstring LostInstanceText(const Failure& failure, AutoCadInstances::GivenUp what, const std::wstring& drawing,
                              int seconds) {
  const bool timedOut = IsTimeOut(failure);
  std::wstring text = timedOut ? L"AutoCAD did not finish \"" + drawing + L"\" within " +
                                     std::to_wstring(seconds) + L" seconds."
                               : L"AutoCAD ended while working on \"" + drawing + L"\" (" +
                                     failure.description() + L").";
  const std::wstring product(kProductName);
  switch (what) {
    case AutoCadInstances::GivenUp::kEnded:
      text += timedOut ? L" That AutoCAD was ended; the next drawing gets a new one."
                       : L" The next drawing gets a new AutoCAD.";
      break;
    case AutoCadInstances::GivenUp::kLeftToUser:
      text += L" It is an AutoCAD you started, so " + product +
              L" left it running; the other drawings go to an AutoCAD of " + product + L"'s own.";
      break;
    case AutoCadInstances::GivenUp::kProcessUnknown:
      text += L" Its process could not be found, so it may still be running.";
      break;
    case AutoCadInstances::GivenUp::kNone:
      break;
  }
  return text;
}

}  // namespace pellacore
