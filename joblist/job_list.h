#pragma once
// The job list: the drawings the next conversion run processes, in run order,
// and the selected entry. Entries are full paths, appended at the end; the
// same path may stand twice. Each entry also carries the text of what became
// of it in the last run that reached it, "" until a run does. Indices are counted from 1, as the program's
// rules count them; this class is the one place that turns them into
// positions of the vector.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellacore {

// Told about every change, so that a view can show the list without keeping
// a copy of it.
class JobListObserver {
 public:
  virtual ~JobListObserver() = default;
  virtual void EntriesAppended(std::size_t newCount) = 0;
  virtual void EntryChanged(std::size_t index) = 0;
  virtual void AllEntriesChanged() = 0;
  virtual void EntriesRemoved(std::size_t newCount) = 0;
  virtual void SelectionChanged(std::optional<std::size_t> selected) = 0;
};

class JobList {
 public:
  std::size_t Count() const { return entries_.size(); }
  bool Empty() const { return entries_.empty(); }

  // The path of entry `index` (1 to Count()).
  const std::wstring& Text(std::size_t index) const { return entries_.at(index - 1); }
  void SetText(std::size_t index, std::wstring text);

  const std::wstring& Result(std::size_t index) const;
  void SetResult(std::size_t index, std::wstring result);
  // Every entry's result at once.
  void SetAllResults(const std::wstring& result);
  // Entries `a` and `b` trade places, each with its result.
  void Swap(std::size_t a, std::size_t b);

  void Add(std::wstring path);
  // Removes entry `index`; later entries move up by one. The selection goes
  // when its entry goes, and follows its entry otherwise.
  void Remove(std::size_t index);
  void Clear();

  std::optional<std::size_t> Selected() const { return selected_; }
  void Select(std::size_t index);
  void ClearSelection();

  void SetObserver(JobListObserver* observer) { observer_ = observer; }

 private:
  std::vector<std::wstring> entries_;
  // Results of the first entries; the rest have none. Empty until a run, so
  // a list that never ran costs nothing more.
  std::vector<std::wstring> results_;
  std::optional<std::size_t> selected_;
  JobListObserver* observer_ = nullptr;
};

// Whether any entry holds exactly `path` (case-sensitive, no trimming).
bool IsInJobList(const JobList& list, std::wstring_view path);

}  // namespace pellacore
