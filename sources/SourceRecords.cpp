#include "sources/SourceRecords.h"

#include <utility>

namespace tarvex {

bool SourceRecords::moveUp(int row) {
  if (row <= 0 || row >= count()) return false;
  std::swap(records_[static_cast<size_t>(row)], records_[static_cast<size_t>(row - 1)]);
  return true;
}

bool SourceRecords::moveDown(int row) {
  if (row < 0 || row >= count() - 1) return false;
  std::swap(records_[static_cast<size_t>(row)], records_[static_cast<size_t>(row + 1)]);
  return true;
}

void SourceRecords::remove(int row) {
  if (contains(row)) records_.erase(records_.begin() + row);
}

const SourceRecord* SourceRecords::markedSource(SplitFunction function, int row) const {
  if (function == SplitFunction::Unification) return empty() ? nullptr : &records_.front();
  return contains(row) ? &records_[static_cast<size_t>(row)] : nullptr;
}

SourceRecord* SourceRecords::markedSource(SplitFunction function, int row) {
  return const_cast<SourceRecord*>(std::as_const(*this).markedSource(function, row));
}

std::vector<AudioFileinfo> SourceRecords::tags() const {
  std::vector<AudioFileinfo> result;
  result.reserve(records_.size());
  for (const SourceRecord& record : records_) result.push_back(record.tags);
  return result;
}

void SourceRecords::setTags(const std::vector<AudioFileinfo>& tags) {
  for (size_t row = 0; row < tags.size() && row < records_.size(); ++row) {
    records_[row].tags = tags[row];
    if (!tags[row].title.isEmpty()) records_[row].caption = tags[row].title;
  }
}

}  // namespace tarvex
