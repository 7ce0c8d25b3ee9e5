#include "processing/SplitRunner.h"

#include <QCoreApplication>
#include <QFile>
#include <QTreeWidget>
#include <algorithm>

#include "components/audio/AudioError.h"
#include "components/audio/AudioFile2.h"
#include "components/audio/AudioTransform2.h"
#include "platform/PlatformServices.h"
#include "platform/WorkWhileWaiting.h"
#include "processing/EncoderProfile.h"
#include "processing/JobFailure.h"
#include "processing/OutputNaming.h"
#include "processing/SourceFrames.h"
#include "sources/SegmentList.h"
#include "tags/OutputTags.h"

namespace tarvex {

namespace {

// A Custom piece ends once fewer frames than this remain after a block.
constexpr int64_t kCustomTailFrames = 100;

}  // namespace

std::vector<Segment> withPendingRowFixed(std::vector<Segment> rows) {
  if (rows.size() == 1) {
    rows.front().status = kStatusConfirmed;
  } else if (!rows.empty()) {
    rows.pop_back();
  }
  return rows;
}

SplitRunner::SplitRunner(JobServices services)
    : services_(std::move(services)), progress_(services_.parts, services_.progress) {}

JobOutcome SplitRunner::Split() {
  MainWindowState& state = *services_.parts.state;
  if (state.jobRunning || services_.parts.lv->topLevelItemCount() == 0) {
    return JobOutcome::NothingRan;
  }
  if (state.IsPlaying && services_.stopPlayback) services_.stopPlayback();
  return runFor(state.functionChoice);
}

JobOutcome SplitRunner::runFor(int functionChoice) {
  switch (functionChoice) {
    case 0:
      return CustomAudioSplitter();
    case 1:
      return TimeAudioSplitter();
    case 2:
      return CountAudioSplitter();
    case 3:
      return UnifiAudioSplitter();
    default:
      return JobOutcome::NothingRan;
  }
}

JobOutcome SplitRunner::CustomAudioSplitter() {
  return runJob(Mode::Custom);
}
JobOutcome SplitRunner::TimeAudioSplitter() {
  return runJob(Mode::Time);
}
JobOutcome SplitRunner::CountAudioSplitter() {
  return runJob(Mode::Count);
}
JobOutcome SplitRunner::UnifiAudioSplitter() {
  return runJob(Mode::Unification);
}

void SplitRunner::pump() {
  if (services_.pumpEvents) {
    services_.pumpEvents();
  } else {
    QCoreApplication::processEvents();
  }
}

bool SplitRunner::running() const {
  return services_.parts.state->jobRunning;
}

JobOutcome SplitRunner::runJob(Mode mode) {
  MainWindowState& state = *services_.parts.state;
  const std::vector<listrecord>& records = *services_.parts.records;
  if (state.jobRunning) return JobOutcome::NothingRan;
  roundUp_ = true;
  failedRow_ = -1;
  partialPath_.clear();
  mode_ = mode;
  state.jobRunning = true;
  // The segment counts of the entries stay as they are: the pending range is
  // left out of the cut, never out of the entry.
  std::vector<Segment> sharedRows;
  if (mode == Mode::Unification && !records.empty()) {
    sharedRows = withPendingRowFixed(planMarkedRanges(records.front()));
    services_.segments.showRows(sharedRows);
  }
  try {
    const int count =
        std::min<int>(services_.parts.lv->topLevelItemCount(), static_cast<int>(records.size()));
    for (int source = 0; source < count; ++source) {
      pump();
      if (!running()) break;
      splitSource(mode, source, sharedRows);
    }
  } catch (const std::exception& error) {
    fail(jobErrorMessage(error));
    return JobOutcome::Failed;
  }
  const bool stopped = !state.jobRunning;
  state.jobRunning = false;
  progress_.clear();
  return stopped ? JobOutcome::Stopped : JobOutcome::Completed;
}

void SplitRunner::splitSource(Mode mode, int source, const std::vector<Segment>& sharedRows) {
  MainWindowState& state = *services_.parts.state;
  const listrecord& record = (*services_.parts.records)[source];
  selectRow(*services_.parts.lv, source);
  state.currentSource = source;

  std::vector<Segment> rows;
  switch (mode) {
    case Mode::Custom:
      rows = withPendingRowFixed(planMarkedRanges(record));
      break;
    case Mode::Time:
      rows = planByTimePieces(record.lengthSeconds, state.pieceSeconds);
      break;
    case Mode::Count:
      rows = planByCountPieces(record.lengthSeconds, state.pieceCount);
      break;
    case Mode::Unification:
      rows = sharedRows;  // statuses start afresh for every source
      break;
  }
  services_.segments.showRows(rows);
  services_.parts.lv->setFocus();

  std::vector<Piece> pieces;
  for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
    Piece piece{row, rows[row].begin, rows[row].end};
    if (mode == Mode::Unification) {
      // A shared range past this source's end gives it no piece.
      if (piece.begin > record.lengthSeconds) continue;
      piece.end = std::min(piece.end, record.lengthSeconds);
    }
    pieces.push_back(piece);
  }
  if (pieces.empty()) return;
  for (size_t i = 0; i < pieces.size(); ++i) {
    pieces[i].number = static_cast<int>(i) + 1;
    pieces[i].count = static_cast<int>(pieces.size());
  }

  AudioFile2& reader = services_.reader;
  failedRow_ = pieces.front().row;
  if (reader.IsOpen()) reader.Close();
  reader.OpenRead(record.fileName, 0, 1);  // blocks come in the source's own format
  readerPosition_ = 0;
  const SourceFrames frames = SourceFrames::of(reader);
  for (const Piece& piece : pieces) {
    pump();
    if (!running()) break;
    WritePiece(source, piece, frames);
  }
  reader.Close();
  failedRow_ = -1;
}

void SplitRunner::WritePiece(int source, const Piece& piece, const SourceFrames& frames) {
  MainWindowState& state = *services_.parts.state;
  const listrecord& record = (*services_.parts.records)[source];
  AudioFile2& reader = services_.reader;
  AudioFile2& writer = services_.writer;
  failedRow_ = piece.row;

  const int64_t beginFrame = frames.beginFrame(piece.begin);
  const int64_t pieceFrames = std::max<int64_t>(0, frames.endFrame(piece.end) - beginFrame);
  // A piece that starts where the last one ended needs no seek: seeking far
  // into a long MP3 costs time the window would spend unserved.
  if (beginFrame != readerPosition_) reader.Seek(beginFrame, 3);
  readerPosition_ = beginFrame;

  if (writer.IsOpen()) writer.Close();
  const int formatIndex = services_.formatIndex ? services_.formatIndex() : kFormatMp3;
  ApplyEncoderProfile(services_.settings, formatIndex,
                      services_.commandLine ? services_.commandLine() : QString(), writer,
                      services_.encoder);
  const QString extension = OutputExtension(formatIndex);
  const QString caption = services_.parts.lv->topLevelItem(source)->text(0);
  QString path = MakeOutputName(caption, state.outputDir, extension);

  writer.SetPcmFormat(frames.sampleRate, frames.channels);
  if (writer.IsOpen()) writer.Close();
  try {
    writer.CreateWrite(path, 0);
  } catch (const AudioError&) {
    if (writer.IsOpen()) writer.Close();
    if (pathTaken(path)) QFile::remove(path);  // the name was free: whatever is there is ours
    path = fallbackOutputName(record.fileName, state.outputDir, extension);
    try {
      writer.CreateWrite(path, 0);
    } catch (const AudioError&) {
      if (pathTaken(path)) QFile::remove(path);
      throw;
    }
  }
  partialPath_ = path;

  services_.segments.setStatus(piece.row, kStatusConverting);
  writer.SetPcmFormat(frames.sampleRate, frames.channels);

  const int channels = std::max(1, frames.channels);
  const int64_t fadeOutFrames = frames.framesFor(state.fadeOutSeconds);
  int64_t doneFrames = 0;
  while (doneFrames < pieceFrames) {
    pump();
    if (!running()) break;
    const int64_t remaining = pieceFrames - doneFrames;
    int64_t want = std::min<int64_t>(remaining, frames.regularBlockFrames());
    // The fade-in block never runs past the piece's end.
    const int64_t fadeInFrames = frames.framesFor(state.fadeInSeconds);
    const bool fadeInBlock = state.fadeIn && doneFrames == 0 && fadeInFrames > 0;
    if (fadeInBlock) want = std::min(fadeInFrames, remaining);
    const bool fadeOutBlock = state.fadeOut && fadeOutFrames > 0 && fadeOutFrames >= remaining;
    if (fadeOutBlock) want = remaining;

    SampleBlock block = reader.ReadBlock(blockRequest(want));
    int values = block.upperBound();
    if (values < 1) {
      readerPosition_ = -1;  // the data ended: the position is no longer known
      break;
    }
    readerPosition_ += block.upperBound() / channels;
    if (values % channels != 0) {
      // Only a block that holds no whole frames is rounded, alternately up
      // and down; whole frames are counted exactly.
      values += roundUp_ ? 1 : -1;
      roundUp_ = !roundUp_;
    }
    if (fadeInBlock) services_.transform.Fade(block, 0, 100, channels);
    if (fadeOutBlock) services_.transform.Fade(block, 100, 0, channels);
    doneFrames += values / channels;
    progress_.show(doneFrames, pieceFrames);
    writer.WriteBlock(block);
    if (mode_ == Mode::Custom && pieceFrames - doneFrames < kCustomTailFrames) break;
  }

  writer.Close();
  partialPath_.clear();
  pump();  // closing and tagging a piece are two steps; the window stays live between them
  const std::vector<AudioFileinfo>& tags = *services_.parts.tags;
  // A copy: the tag editor may change the source's tags while this runs.
  AudioFileinfo pieceTags = source < static_cast<int>(tags.size()) ? tags[source] : AudioFileinfo();
  pieceTags.track = QStringLiteral("%1/%2").arg(piece.number).arg(piece.count);
  // Tagging rewrites the whole piece and waits until the disk holds it, which
  // on a busy disk takes seconds; the window is served meanwhile.
  runWhileWaiting([&path, &pieceTags] { WriteOutputTags(path, pieceTags); }, [this] { pump(); });
  services_.segments.setStatus(piece.row, kStatusFinish);
}

void SplitRunner::fail(const QString& message) {
  endFailedJob(services_, progress_, partialPath_, failedRow_, message);
}

}  // namespace tarvex
