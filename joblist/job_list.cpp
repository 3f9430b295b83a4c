#include "joblist/job_list.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace pellacore {

void JobList::SetText(std::size_t index, std::wstring text) {
  entries_.at(index - 1) = std::move(text);
  if (observer_) observer_->EntryChanged(index);
}

const std::wstring& JobList::Result(std::size_t index) const {
  static const std::wstring none;
  if (index < 1 || index > entries_.size()) throw std::out_of_range("job list index out of range");
  return index <= results_.size() ? results_[index - 1] : none;
}

void JobList::SetResult(std::size_t index, std::wstring result) {
  if (index < 1 || index > entries_.size()) throw std::out_of_range("job list index out of range");
  if (results_.size() < index) results_.resize(index);
  results_[index - 1] = std::move(result);
  if (observer_) observer_->EntryChanged(index);
}

void JobList::SetAllResults(const std::wstring& result) {
  results_.assign(entries_.size(), result);
  if (observer_) observer_->AllEntriesChanged();
}

void JobList::Swap(std::size_t a, std::size_t b) {
  std::swap(entries_.at(a - 1), entries_.at(b - 1));
  if (results_.size() < std::max(a, b)) results_.resize(std::max(a, b));
  std::swap(results_[a - 1], results_[b - 1]);
  if (observer_) {
    observer_->EntryChanged(a);
    observer_->EntryChanged(b);
  }
}

void JobList::Add(std::wstring path) {
  entries_.push_back(std::move(path));
  if (observer_) observer_->EntriesAppended(entries_.size());
}

void JobList::Remove(std::size_t index) {
  if (index < 1 || index > entries_.size()) throw std::out_of_range("job list index out of range");
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index - 1));
  if (index <= results_.size()) results_.erase(results_.begin() + static_cast<std::ptrdiff_t>(index - 1));
  const std::optional<std::size_t> before = selected_;
  if (selected_ == index) {
    selected_.reset();
  } else if (selected_ && *selected_ > index) {
    --*selected_;
  }
  if (observer_) {
    observer_->EntriesRemoved(entries_.size());
    if (selected_ != before) observer_->SelectionChanged(selected_);
  }
}

void JobList::Clear() {
  entries_.clear();
  entries_.shrink_to_fit();
  results_.clear();
  results_.shrink_to_fit();
  const bool hadSelection = selected_.has_value();
  selected_.reset();
  if (observer_) {
    observer_->EntriesRemoved(0);
    if (hadSelection) observer_->SelectionChanged(selected_);
  }
}

void JobList::Select(std::size_t index) {
  if (index < 1 || index > entries_.size()) throw std::out_of_range("job list index out of range");
  if (selected_ == index) return;
  selected_ = index;
  if (observer_) observer_->SelectionChanged(selected_);
}

void JobList::ClearSelection() {
  if (!selected_) return;
  selected_.reset();
  if (observer_) observer_->SelectionChanged(selected_);
}

bool IsInJobList(const JobList& list, std::wstring_view path) {
  const std::size_t count = list.Count();
  for (std::size_t i = 1; i <= count; ++i) {
    if (list.Text(i) == path) return true;
  }
  return false;
}

}  // namespace pellacore
