#pragma once
// Printers that log what is printed: "current <name>", "load <file>",
// "paint <file>", "enddoc", "abortdoc". Each operation can be told to fail; `onEndDoc`
// plays the printer taking the job.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/printing.h"
#include "util/failure.h"

namespace pellacore::testing {

class FakePrinting : public Printing {
 public:
  std::vector<std::wstring> printers{L"Office Laser", L"Kelvandor PDF Writer"};
  std::wstring current = L"Office Laser";
  std::vector<std::wstring> calls;
  // By operation: "names", "current", "load", "paint", "enddoc".
  std::map<std::wstring, Failure> failures;
  std::set<std::wstring> unloadable;
  std::function<void()> onEndDoc;

  std::vector<std::wstring> PrinterNames() override {
    calls.push_back(L"names");
    FailIf(L"names");
    return printers;
  }
  void SetCurrentPrinter(const std::wstring& name) override {
    calls.push_back(L"current " + name);
    FailIf(L"current");
    current = name;
  }
  std::unique_ptr<Picture> LoadPicture(const std::wstring& file) override {
    calls.push_back(L"load " + file);
    FailIf(L"load");
    if (unloadable.count(file)) throw Failure(481, L"Invalid picture");
    return std::make_unique<FilePicture>(file);
  }
  void PaintPicture(const Picture& picture) override {
    calls.push_back(L"paint " + static_cast<const FilePicture&>(picture).file);
    FailIf(L"paint");
    documentOpen_ = true;
  }
  void EndDoc() override {
    calls.push_back(L"enddoc");
    FailIf(L"enddoc");
    if (!documentOpen_) throw Failure(482, L"Printer error");
    documentOpen_ = false;
    pagesPrinted.push_back(current);
    if (onEndDoc) onEndDoc();
  }

  void AbortDoc() override {
    calls.push_back(L"abortdoc");
    documentOpen_ = false;
  }

  // The printer of every document ended, in order.
  std::vector<std::wstring> pagesPrinted;

 private:
  struct FilePicture : Picture {
    explicit FilePicture(std::wstring f) : file(std::move(f)) {}
    std::wstring file;
  };
  void FailIf(const std::wstring& operation) {
    if (auto failure = failures.find(operation); failure != failures.end()) throw failure->second;
  }
  bool documentOpen_ = false;
};

}  // namespace pellacore::testing
