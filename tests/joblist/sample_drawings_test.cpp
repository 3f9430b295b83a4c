#include "joblist/sample_drawings.h"

#include <gtest/gtest.h>

#include "joblist/job_list.h"
#include "joblist/snapshot_codec.h"
#include "tests/doubles/fake_code_page.h"
#include "tests/doubles/memory_file_system.h"
#include "tests/doubles/memory_settings_store.h"
#include "tests/doubles/recording_message_boxes.h"
#include "tests/doubles/scripted_dialogs.h"
#include "tests/doubles/scripted_event_pump.h"
#include "util/settings.h"

namespace pellacore {
namespace {

using Paths = std::vector<std::wstring>;

const std::wstring kProgram = L"C:\\Program Files\\Pellacore";
const std::wstring kQuestion =
    L"Would you like this software to open the folder where these sample files are stored (so "
    L"that you can view them before working with them)?";

class SampleDrawingsTest : public ::testing::Test {
 protected:
  Paths Entries() const {
    Paths entries;
    for (std::size_t i = 1; i <= list.Count(); ++i) entries.push_back(list.Text(i));
    return entries;
  }
  std::wstring StoredPlainList() {
    return DecodeSnapshot(settings.values[setting_key::kSnapshot], pump);
  }

  testing::MemorySettingsStore settings;
  testing::MemoryFileSystem fs;
  testing::ScriptedEventPump pump;
  testing::RecordingMessageBoxes boxes;
  testing::RecordingShell shell;
  testing::FakeCodePage codePage;
  SampleDrawings samples{{settings, boxes, shell, {fs, pump, boxes, codePage}}, kProgram};
  JobList list;
};

TEST_F(SampleDrawingsTest, RecordingStoresTheFullPathsOfEveryFileEncoded) {
  fs.AddFolder(kProgram + L"\\Samples");
  fs.AddFile(kProgram + L"\\Samples\\Plan.dwg");
  fs.AddFile(kProgram + L"\\Samples\\readme.txt", file_attribute::kArchive | file_attribute::kHidden);
  fs.AddFolder(kProgram + L"\\Samples\\Sub");
  samples.RecordSampleList();
  const std::wstring plain = StoredPlainList();
  EXPECT_EQ(plain, kProgram + L"\\Samples\\Plan.dwg|" + kProgram + L"\\Samples\\readme.txt");
  EXPECT_NE(settings.values[setting_key::kSnapshot], plain);  // not stored as it reads
  EXPECT_EQ(settings.values[setting_key::kSnapshot].size(), plain.size());
}

TEST_F(SampleDrawingsTest, AnEmptyOrMissingSampleFolderRecordsAnEmptyList) {
  samples.RecordSampleList();
  EXPECT_EQ(settings.values[setting_key::kSnapshot], L"");
  fs.AddFolder(kProgram + L"\\Samples");
  samples.RecordSampleList();
  EXPECT_EQ(settings.values[setting_key::kSnapshot], L"");
}

TEST_F(SampleDrawingsTest, LoadingAddsRecordedFilesThatExistAndAreNotListed) {
  const std::wstring a = kProgram + L"\\Samples\\A.dwg";
  const std::wstring b = kProgram + L"\\Samples\\B.dwg";
  const std::wstring gone = kProgram + L"\\Samples\\Gone.dwg";
  fs.AddFile(a);
  fs.AddFile(b);
  settings.values[setting_key::kSnapshot] = EncodeSnapshot(a + L"|" + gone + L"|" + b, pump);
  list.Add(b);
  list.Add(kProgram + L"\\samples\\a.dwg");  // another letter case is another path
  samples.LoadSampleFiles(list, L"Pellacore");
  EXPECT_EQ(Entries(), (Paths{b, kProgram + L"\\samples\\a.dwg", a}));
  samples.LoadSampleFiles(list, L"Pellacore");
  EXPECT_EQ(list.Count(), 3u);  // a second click adds nothing
}

TEST_F(SampleDrawingsTest, TheQuestionIsAskedEveryTimeAndYesOpensTheQuotedFolder) {
  samples.LoadSampleFiles(list, L"Pellacore");  // nothing recorded: reads "False"
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, kQuestion);
  EXPECT_EQ(boxes.shown[0].title, L"Pellacore");
  EXPECT_EQ(boxes.shown[0].buttons, MessageButtons::kYesNo);
  ASSERT_EQ(shell.opened.size(), 1u);
  EXPECT_EQ(shell.opened[0].file, L"\"" + kProgram + L"\\Samples\\\"");
  EXPECT_EQ(shell.opened[0].workingFolder, L"C:\\");
  EXPECT_TRUE(list.Empty());

  settings.values[setting_key::kSnapshot] = L"";
  boxes.answers.push_back(MessageAnswer::kNo);
  samples.LoadSampleFiles(list, L"Pellacore");
  EXPECT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(shell.opened.size(), 1u);
}

TEST_F(SampleDrawingsTest, EncodingAndDecodingYieldOncePerCharacter) {
  EncodeSnapshot(L"abc", pump);
  EXPECT_EQ(pump.yields, 3);
  DecodeSnapshot(L"abcd", pump);
  EXPECT_EQ(pump.yields, 7);
}

TEST(SnapshotCodec, RoundTripsAnyTextOneCharacterForOneWithoutNul) {
  testing::ScriptedEventPump pump;
  std::wstring text;
  for (std::uint32_t c = 1; c <= 0xFFFF; ++c) text.push_back(static_cast<wchar_t>(c));
  const std::wstring stored = EncodeSnapshot(text, pump);
  ASSERT_EQ(stored.size(), text.size());
  EXPECT_EQ(stored.find(L'\0'), std::wstring::npos);
  EXPECT_EQ(DecodeSnapshot(stored, pump), text);
  // Surrogates stay themselves, so valid UTF-16 stays valid.
  EXPECT_EQ(stored[0xD800 - 1], static_cast<wchar_t>(0xD800));
  EXPECT_NE(stored[L'A' - 1], L'A');
}

}  // namespace
}  // namespace pellacore
