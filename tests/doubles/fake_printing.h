#pragma once
// Printers that log what is printed: "current <name>", "load <file>",
// "open portrait" or "open landscape" (a page opened), "paint <file>",
// "enddoc", "abortdoc". Where each picture went is in `places`. Each operation can be told to fail; `onEndDoc`
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
  // By operation: "names", "current", "load", "open", "paint", "enddoc".
  std::map<std::wstring, Failure> failures;
  std::set<std::wstring> unloadable;
  std::function<void()> onEndDoc;
  // Pictures are the stand-in AutoCAD's size unless told otherwise.
  std::map<std::wstring, PixelSize> pictureSizes;
  // The printable area of a portrait page; a landscape page is it turned.
  PixelSize portraitArea{2400, 3150};
  std::vector<PageRect> places;

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
    const auto size = pictureSizes.find(file);
    return std::make_unique<FilePicture>(file, size != pictureSizes.end() ? size->second : PixelSize{1100, 850});
  }
  PixelSize OpenPage(PageOrientation orientation) override {
    if (!documentOpen_) {
      calls.push_back(orientation == PageOrientation::kLandscape ? L"open landscape" : L"open portrait");
      FailIf(L"open");
      documentOpen_ = true;
      landscape_ = orientation == PageOrientation::kLandscape;
    }
    return landscape_ ? PixelSize{portraitArea.height, portraitArea.width} : portraitArea;
  }
  void PaintPicture(const Picture& picture, const PageRect& place) override {
    calls.push_back(L"paint " + static_cast<const FilePicture&>(picture).file);
    FailIf(L"paint");
    documentOpen_ = true;
    places.push_back(place);
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
    FilePicture(std::wstring f, PixelSize s) : file(std::move(f)), size(s) {}
    PixelSize Size() const override { return size; }
    std::wstring file;
    PixelSize size;
  };
  void FailIf(const std::wstring& operation) {
    if (auto failure = failures.find(operation); failure != failures.end()) throw failure->second;
  }
  bool documentOpen_ = false;
  bool landscape_ = false;
};

}  // namespace pellacore::testing
