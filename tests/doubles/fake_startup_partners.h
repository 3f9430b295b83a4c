#pragma once
// The skin component, the sample recorder and the prerequisite checks, as
// start-up calls them: each call is logged, each can be told to fail.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "convert/prerequisite_checks.h"
#include "joblist/sample_list.h"
#include "platform/skin_framework.h"
#include "util/failure.h"

namespace pellacore::testing {

class RecordingSkinFramework : public SkinFramework {
 public:
  std::vector<std::wstring> calls;
  std::int32_t options = 0x40;
  std::optional<Failure> loadFailure;

  void LoadSkin(const std::wstring& path, const std::wstring& section) override {
    calls.push_back(L"LoadSkin(" + path + L"," + section + L")");
    if (loadFailure) throw *loadFailure;
  }
  std::int32_t Options() override {
    calls.push_back(L"Options");
    return options;
  }
  void SetOptions(std::int32_t value) override {
    calls.push_back(L"SetOptions(" + std::to_wstring(value) + L")");
    options = value;
  }
  void SetStyleFrames(bool on) override { calls.push_back(std::wstring(L"SetStyleFrames(") + (on ? L"1)" : L"0)")); }
  void SetStyleButtons(bool on) override { calls.push_back(std::wstring(L"SetStyleButtons(") + (on ? L"1)" : L"0)")); }
  void ApplyWindow(std::int32_t handle) override {
    calls.push_back(L"ApplyWindow(" + std::to_wstring(handle) + L")");
  }
};

class RecordingSampleList : public SampleList {
 public:
  int calls = 0;
  std::optional<Failure> failure;
  // What a recording does besides being counted (storing "Snapshot", say).
  std::function<void()> recording;
  std::vector<std::wstring> loadTitles;
  std::optional<Failure> loadFailure;
  void RecordSampleList() override {
    ++calls;
    if (failure) throw *failure;
    if (recording) recording();
  }
  void LoadSampleFiles(JobList&, const std::wstring& title) override {
    loadTitles.push_back(title);
    if (loadFailure) throw *loadFailure;
  }
};

class ScriptedPrerequisiteChecks : public PrerequisiteChecks {
 public:
  bool autoCad = true;
  std::vector<std::wstring> calls;
  std::optional<Failure> printerFailure;
  std::vector<std::wstring> titles;
  bool AutoCadAvailable(const std::wstring& title) override {
    calls.push_back(L"AutoCadAvailable");
    titles.push_back(title);
    return autoCad;
  }
  void PdfPrinterInstalled(const std::wstring& title) override {
    calls.push_back(L"PdfPrinterInstalled");
    titles.push_back(title);
    if (printerFailure) throw *printerFailure;
  }
};

}  // namespace pellacore::testing
