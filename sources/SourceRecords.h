#pragma once

#include <vector>

#include "config/SplitFunction.h"
#include "sources/SourceRecord.h"

namespace tarvex {

// The sources the user works on, in list order. The window's lists show them;
// nothing here knows which row is selected.
class SourceRecords {
 public:
  int count() const { return static_cast<int>(records_.size()); }
  bool empty() const { return records_.empty(); }
  bool contains(int row) const { return row >= 0 && row < count(); }
  const SourceRecord& at(int row) const { return records_.at(static_cast<size_t>(row)); }
  SourceRecord& at(int row) { return records_.at(static_cast<size_t>(row)); }
  const std::vector<SourceRecord>& all() const { return records_; }

  void add(SourceRecord record) { records_.push_back(std::move(record)); }
  // Swaps a row with the one above (below); false when there is none.
  bool moveUp(int row);
  bool moveDown(int row);
  void remove(int row);
  void clear() { records_.clear(); }

  // The record whose ranges the function marks and cuts for `row`: the first
  // source under Unification (its ranges are shared), else the row itself.
  // Null when there is none.
  const SourceRecord* markedSource(SplitFunction function, int row) const;
  SourceRecord* markedSource(SplitFunction function, int row);

  std::vector<AudioFileinfo> tags() const;
  // Writes tags back row by row (the tag editor's OK); a row whose title is
  // set takes it as its caption.
  void setTags(const std::vector<AudioFileinfo>& tags);

 private:
  std::vector<SourceRecord> records_;
};

}  // namespace tarvex
