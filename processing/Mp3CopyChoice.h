#pragma once

#include <QString>
#include <QStringList>
#include <map>
#include <memory>
#include <mutex>

#include "components/audio/mp3frames/Mp3LosslessJoin.h"
#include "components/audio/mp3frames/SeamlessJoin.h"
#include "processing/JobPlan.h"

namespace tarvex {

namespace mp3frames {
class Mp3FrameSource;
}

// What "MP3 (no re-encode)" does with the pieces of one split: each MP3
// source is indexed once, by the first worker that needs it, and shared by
// all its pieces (fades are encoded with the frames they reach, the rest
// copied); a piece of a source that cannot be copied
// (not MP3, free format, damaged) is encoded with the MP3 settings instead,
// and the reasons are gathered for one note to the user.
class Mp3CopySources {
 public:
  explicit Mp3CopySources(const SplitPlan& plan);
  ~Mp3CopySources();
  Mp3CopySources(const Mp3CopySources&) = delete;
  Mp3CopySources& operator=(const Mp3CopySources&) = delete;

  // The indexed source `piece` is copied from, or null when it is encoded
  // instead. Safe from any worker thread.
  const mp3frames::Mp3FrameSource* sourceFor(const PiecePlan& piece);

  // Why pieces were encoded, as one message for the whole job; empty when
  // every piece that asked for it was copied. Call once the workers are done.
  QString fallbackNote() const;

 private:
  struct Entry;
  std::map<QString, std::unique_ptr<Entry>> entries_;  // one per source path, made up front
};

// Why `plan` cannot be joined by copying whatever its files hold (no
// parts); empty when its files decide.
QString joinPlanRefusal(const JoinPlan& plan);

// The reason a copy is refused, from the error indexing a file gave.
QString copyRefusal(const QString& indexError);

// A join written by copying MP3 frames: its files indexed once, the parts'
// spans in them (whole files or marked ranges) and where each lands, fades
// included.
struct CopiedJoin {
  mp3frames::Mp3JoinSources sources;
  std::vector<mp3frames::JoinSpan> spans;
  mp3frames::SeamlessJoinPlan plan;
};

// Fills `join` for `plan` and returns an empty string, or else the note that
// tells the user why the join is encoded with the MP3 settings instead: a
// source that is not MP3, sources of different rates or channel counts, a
// part too short to copy.
QString planCopiedJoin(const JoinPlan& plan, CopiedJoin& join);

// The same when only the answer is wanted.
QString joinCopyRefusal(const JoinPlan& plan);

// The note for a join encoded instead of copied, from its reason.
QString joinFallbackNote(const QString& reason);

}  // namespace tarvex
