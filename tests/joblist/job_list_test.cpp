#include "joblist/job_list.h"

#include <gtest/gtest.h>

namespace pellacore {
namespace {

class RecordingObserver : public JobListObserver {
 public:
  std::vector<std::string> events;
  void EntriesAppended(std::size_t n) override { events.push_back("appended " + std::to_string(n)); }
  void EntryChanged(std::size_t i) override { events.push_back("changed " + std::to_string(i)); }
  void AllEntriesChanged() override { events.push_back("all changed"); }
  void EntriesRemoved(std::size_t n) override { events.push_back("removed " + std::to_string(n)); }
  void SelectionChanged(std::optional<std::size_t> s) override {
    events.push_back("selected " + (s ? std::to_string(*s) : std::string("none")));
  }
};

TEST(JobList, RemovingMovesLaterEntriesUpAndTheSelectionWithThem) {
  JobList list;
  for (const wchar_t* path : {L"A", L"B", L"C"}) list.Add(path);
  list.Select(3);
  list.Remove(1);
  EXPECT_EQ(list.Count(), 2u);
  EXPECT_EQ(list.Text(1), L"B");
  EXPECT_EQ(list.Selected(), 2u);
  list.Remove(2);
  EXPECT_EQ(list.Selected(), std::nullopt);
  EXPECT_THROW(list.Remove(5), std::out_of_range);
}

TEST(JobList, TellsItsObserverAboutEveryChange) {
  JobList list;
  RecordingObserver observer;
  list.SetObserver(&observer);
  list.Add(L"A");
  list.Add(L"B");
  list.Select(2);
  list.Select(2);
  list.SetText(1, L"C");
  list.SetResult(2, L"converted");
  list.SetAllResults(L"waiting");
  list.Swap(2, 1);
  list.Remove(1);
  list.Clear();
  EXPECT_EQ(observer.events,
            (std::vector<std::string>{"appended 1", "appended 2", "selected 2", "changed 1", "changed 2",
                                      "all changed", "changed 2", "changed 1", "removed 1", "selected 1",
                                      "removed 0", "selected none"}));
}

// Each entry's path and result, in list order.
std::vector<std::wstring> Rows(const JobList& list) {
  std::vector<std::wstring> rows;
  for (std::size_t i = 1; i <= list.Count(); ++i) rows.push_back(list.Text(i) + L"=" + list.Result(i));
  return rows;
}

TEST(JobList, AResultStaysWithItsEntryAndEntriesAddedLaterHaveNone) {
  JobList list;
  for (const wchar_t* path : {L"A", L"B", L"C"}) list.Add(path);
  EXPECT_EQ(Rows(list), (std::vector<std::wstring>{L"A=", L"B=", L"C="}));
  list.SetAllResults(L"waiting");
  list.SetResult(1, L"converted");
  list.Add(L"D");
  EXPECT_EQ(Rows(list), (std::vector<std::wstring>{L"A=converted", L"B=waiting", L"C=waiting", L"D="}));
  // Swapped with an entry that has none, removed, swapped twice over.
  list.Swap(1, 4);
  list.Remove(2);
  list.SetResult(1, L"failed");
  list.Swap(3, 2);
  EXPECT_EQ(Rows(list), (std::vector<std::wstring>{L"D=failed", L"A=converted", L"C=waiting"}));
  EXPECT_THROW(list.SetResult(4, L"x"), std::out_of_range);
  EXPECT_THROW(list.Result(0), std::out_of_range);
  list.Clear();
  list.Add(L"E");
  EXPECT_EQ(Rows(list), std::vector<std::wstring>{L"E="});
}

TEST(IsInJobList, IsAnExactCaseSensitiveMatch) {
  JobList list;
  EXPECT_FALSE(IsInJobList(list, L""));
  list.Add(L"C:\\Dwg\\Plan.dwg");
  list.Add(L"C:\\Dwg\\Plan.dwg");
  EXPECT_TRUE(IsInJobList(list, L"C:\\Dwg\\Plan.dwg"));
  EXPECT_FALSE(IsInJobList(list, L"c:\\dwg\\plan.dwg"));
  EXPECT_FALSE(IsInJobList(list, L"C:\\Dwg\\Plan.dwg "));
  EXPECT_FALSE(IsInJobList(list, L"C:\\Dwg\\Plan"));
}

}  // namespace
}  // namespace pellacore
