#include "sources/cue/CueSheetKeep.h"

#include "sources/cue/CueFileMatch.h"

namespace tarvex {

namespace {

const CueTrack* oldTrackStartingAt(const CueSheet& old, int fileIndex, int64_t start) {
  for (const CueTrack& track : old.tracks) {
    if (track.fileIndex == fileIndex && track.startFrame() == start) return &track;
  }
  return nullptr;
}

}  // namespace

void keepWhatMarksDoNotSay(CueSheet& fresh, const CueSheet& old, const QString& audioPath) {
  fresh.otherLines = old.otherLines;
  if (fresh.comment.isEmpty()) fresh.comment = old.comment;
  const int fileIndex = cueFileIndexFor(old, audioPath);
  if (fileIndex < 0 || fresh.files.empty()) return;
  fresh.files.front() = old.files[static_cast<size_t>(fileIndex)];
  for (size_t i = 0; i < fresh.tracks.size(); ++i) {
    CueTrack& track = fresh.tracks[i];
    const int64_t start = track.startFrame();
    const CueTrack* before = oldTrackStartingAt(old, fileIndex, start);
    if (before == nullptr) continue;
    track.otherLines = before->otherLines;
    if (track.songwriter.isEmpty()) track.songwriter = before->songwriter;
    const int64_t previousStart = i > 0 ? fresh.tracks[i - 1].startFrame() : -1;
    const int64_t nextStart = i + 1 < fresh.tracks.size() ? fresh.tracks[i + 1].startFrame() : -1;
    std::vector<CueIndex> indexes;
    for (const CueIndex& index : before->indexes) {
      if (index.number == 0 && index.cdFrame > previousStart && index.cdFrame < start)
        indexes.push_back(index);
    }
    // Without the old pregap, the one the marks give (a gap before the range).
    if (indexes.empty()) {
      for (const CueIndex& index : track.indexes)
        if (index.number == 0) indexes.push_back(index);
    }
    indexes.push_back({1, start});
    for (const CueIndex& index : before->indexes) {
      if (index.number > 1 && index.cdFrame > start && (nextStart < 0 || index.cdFrame < nextStart))
        indexes.push_back(index);
    }
    track.indexes = std::move(indexes);
  }
}

}  // namespace tarvex
