#include "processing/SplitWorker.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "components/audio/AudioError.h"
#include "components/audio/mp3frames/Mp3LosslessCut.h"
#include "processing/EncoderProfile.h"
#include "processing/ExclusiveOutput.h"
#include "processing/JobFailure.h"
#include "processing/Mp3CopyChoice.h"
#include "processing/SourceShortfalls.h"
#include "tags/EdgeAudioFrame.h"
#include "tags/OutputTags.h"

namespace tarvex {

namespace {

// A piece of marked ranges ends once fewer frames than this remain after a block.
constexpr int64_t kShortTailFrames = 100;

// The stem numbered names count on from.
QString countingStem(const PiecePlan& piece) {
  return piece.nameStem.isEmpty() ? QFileInfo(piece.outputPath).completeBaseName() : piece.nameStem;
}

}  // namespace

SplitWorker::SplitWorker(const SplitPlan& plan, bool removeCutOffOnStop, JobControl& control,
                         JobReporter& reporter, Mp3CopySources* copySources,
                         SourceShortfalls* shortfalls)
    : plan_(plan),
      removeCutOffOnStop_(removeCutOffOnStop),
      control_(control),
      reporter_(reporter),
      copySources_(copySources),
      shortfalls_(shortfalls),
      extension_(OutputExtension(plan.profile.formatIndex)) {}

void SplitWorker::run(std::atomic<size_t>& nextPiece) {
  const size_t count = plan_.pieces.size();
  while (true) {
    if (control_.halted()) {
      // Pieces left unbegun: the Stop ended the job early.
      if (control_.stopRequested() && nextPiece.load() < count) control_.noteStopTookEffect();
      break;
    }
    const size_t index = nextPiece.fetch_add(1);
    if (index >= count) break;
    try {
      writePiece(static_cast<int>(index));
    } catch (const std::exception& error) {
      control_.fail(jobErrorMessage(error), static_cast<int>(index));
      abandonOutput();
      break;
    } catch (...) {
      control_.fail(QStringLiteral("The piece could not be written: an unexpected error"),
                    static_cast<int>(index));
      abandonOutput();
      break;
    }
  }
  try {
    if (reader_.IsOpen()) reader_.Close();
  } catch (...) {
  }
}

void SplitWorker::openSource(const PiecePlan& piece) {
  if (reader_.IsOpen() && openPath_ == piece.sourcePath) return;
  openPath_.clear();
  if (reader_.IsOpen()) reader_.Close();
  reader_.OpenRead(piece.sourcePath, 0, 1);  // blocks come in the source's own format
  openPath_ = piece.sourcePath;
  frames_ = SourceFrames::of(reader_);
  readerPosition_ = 0;
}

void SplitWorker::writePiece(int index) {
  const PiecePlan& piece = plan_.pieces[static_cast<size_t>(index)];
  if (copySources_ != nullptr && copyPiece(index, piece)) return;
  openSource(piece);
  const int64_t firstFrame = std::clamp<int64_t>(piece.firstFrame, 0, frames_.samples);
  const int64_t endFrame = std::clamp<int64_t>(piece.endFrame, firstFrame, frames_.samples);
  if (endFrame <= firstFrame && piece.endFrame > piece.firstFrame) {
    // The piece lies past what the source holds now.
    reporter_.pieceStarted(index, piece.outputPath);
    dropWithoutAudio(index, piece, frames_.samples, frames_.sampleRate);
    return;
  }
  // A piece that starts where the last one ended needs no seek.
  if (firstFrame != readerPosition_) reader_.Seek(firstFrame, 3);
  readerPosition_ = firstFrame;

  if (writer_.IsOpen()) writer_.Close();
  ApplyEncoderProfile(plan_.profile, writer_, encoder_);
  const QString path = createOutput(piece);
  reporter_.pieceStarted(index, path);
  writer_.SetPcmFormat(frames_.sampleRate, frames_.channels);

  const int64_t pieceFrames = endFrame - firstFrame;
  int64_t doneFrames = 0;
  const Ending ending = copyBlocks(index, piece, pieceFrames, doneFrames);
  writer_.Close();
  if (ending == Ending::CutOff) {
    settleCutOff(index, piece, path);
    return;
  }
  // The source may hold less than the length it was planned with.
  const int64_t reached = firstFrame + doneFrames;
  if (doneFrames == 0 && piece.endFrame > piece.firstFrame) {
    QFile::remove(path);
    partialPath_.clear();
    dropWithoutAudio(index, piece, reached, frames_.sampleRate);
    return;
  }
  if (shortfalls_ != nullptr && piece.endFrame - reached > SourceShortfalls::kTolerance)
    shortfalls_->endedEarly(piece.sourcePath, reached, frames_.sampleRate, true);
  partialPath_.clear();
  WriteOutputTags(path, piece.tags);
  reporter_.pieceFinished(index, JobExecutor::PieceOutcome::Finished, path);
}

bool SplitWorker::copyPiece(int index, const PiecePlan& piece) {
  // An empty piece has no audio to copy or encode: it is written as always.
  if (piece.endFrame <= piece.firstFrame) return false;
  const mp3frames::Mp3FrameSource* source = copySources_->sourceFor(piece);
  if (source == nullptr) return false;
  // The reader and the frame index count the same gapless samples; should
  // they differ at the very end, the piece stops where the frames do.
  const int64_t total = source->totalSamples();
  const int64_t first = std::clamp<int64_t>(piece.firstFrame, 0, total);
  const int64_t end = std::clamp<int64_t>(piece.endFrame, first, total);
  if (end <= first) {
    reporter_.pieceStarted(index, piece.outputPath);
    dropWithoutAudio(index, piece, total, source->sampleRate());
    return true;
  }
  if (shortfalls_ != nullptr && piece.endFrame - end > SourceShortfalls::kTolerance)
    shortfalls_->endedEarly(piece.sourcePath, total, source->sampleRate(), true);
  writeCopy(index, piece, *source, first, end);
  return true;
}

void SplitWorker::writeCopy(int index, const PiecePlan& piece,
                            const mp3frames::Mp3FrameSource& source, int64_t firstSample,
                            int64_t endSample) {
  // The name is claimed exclusively as for an encoded piece, then handed to
  // the copy, which creates the file anew only if nothing took it meanwhile.
  const QString path = claimOutput(piece);
  reporter_.pieceStarted(index, path);
  const int64_t samples = endSample - firstSample;
  reporter_.pieceProgress(index, 0, samples);
  // From here the copy owns the file: it removes what it made on an error.
  partialPath_.clear();
  QFile::remove(path);
  // Fades are encoded with the frames they reach; the rest is copied.
  mp3frames::PieceFades fades;
  fades.in = int64_t{std::max(piece.fadeInSeconds, 0)} * source.sampleRate();
  fades.out = int64_t{std::max(piece.fadeOutSeconds, 0)} * source.sampleRate();
  // The audio of the encoded edges as the source gave it goes with the tag,
  // so that pieces joined back take the source's own samples at each seam.
  const auto tagWithEdgeAudio = [&piece](const QByteArray& storedEdgeAudio) {
    AudioFileinfo tags = piece.tags;
    if (!storedEdgeAudio.isEmpty()) tags.carried.id3Frames.append(edgeAudioFrame(storedEdgeAudio));
    return outputID3V23Tag(tags);
  };
  const bool whole = mp3frames::writeMp3Piece(source, firstSample, endSample, path, QByteArray(),
                                              control_.haltFlag(), mp3frames::PieceEdges::Reencoded,
                                              fades, &edgeEncoder_, nullptr, tagWithEdgeAudio);
  if (!whole) {
    // A copy cut short leaves nothing behind: there is no partial piece to keep.
    if (control_.stopRequested()) control_.noteStopTookEffect();
    reporter_.pieceFinished(index, JobExecutor::PieceOutcome::Removed, QString());
    return;
  }
  reporter_.pieceProgress(index, samples, samples);
  reporter_.pieceFinished(index, JobExecutor::PieceOutcome::Finished, path);
}

QString SplitWorker::claimOutput(const PiecePlan& piece) {
  try {
    partialPath_ = createFirstFreeOutput(piece.outputPath, countingStem(piece), plan_.outputFolder,
                                         extension_);
    return partialPath_;
  } catch (const AudioError&) {
    if (piece.fallbackPath.isEmpty()) throw;
  }
  partialPath_ =
      createFirstFreeOutput(piece.fallbackPath, QFileInfo(piece.sourcePath).completeBaseName(),
                            plan_.outputFolder, extension_);
  return partialPath_;
}

QString SplitWorker::createOutput(const PiecePlan& piece) {
  writer_.SetPcmFormat(frames_.sampleRate, frames_.channels);
  if (writer_.IsOpen()) writer_.Close();
  try {
    partialPath_ = createFirstFreeOutput(piece.outputPath, countingStem(piece), plan_.outputFolder,
                                         extension_);
    writer_.CreateWrite(partialPath_, 0);
    return partialPath_;
  } catch (const AudioError&) {
    if (piece.fallbackPath.isEmpty()) throw;
    abandonOutput();
  }
  // The planned name cannot be made: once more under the source's own name.
  partialPath_ =
      createFirstFreeOutput(piece.fallbackPath, QFileInfo(piece.sourcePath).completeBaseName(),
                            plan_.outputFolder, extension_);
  writer_.CreateWrite(partialPath_, 0);
  return partialPath_;
}

SplitWorker::Ending SplitWorker::copyBlocks(int index, const PiecePlan& piece, int64_t pieceFrames,
                                            int64_t& doneFrames) {
  const int channels = std::max(1, frames_.channels);
  const int64_t fadeInFrames = frames_.framesFor(piece.fadeInSeconds);
  const int64_t fadeOutFrames = frames_.framesFor(piece.fadeOutSeconds);
  ProgressThrottle throttle;
  // A block that holds no whole frames is rounded, alternately up and down.
  bool roundUp = true;
  doneFrames = 0;
  while (doneFrames < pieceFrames) {
    if (control_.halted()) {
      if (control_.stopRequested()) control_.noteStopTookEffect();
      return Ending::CutOff;
    }
    const int64_t remaining = pieceFrames - doneFrames;
    int64_t want = std::min<int64_t>(remaining, frames_.regularBlockFrames());
    // The fade-in block never runs past the piece's end.
    const bool fadeInBlock = doneFrames == 0 && fadeInFrames > 0;
    if (fadeInBlock) want = std::min(fadeInFrames, remaining);
    const bool fadeOutBlock = fadeOutFrames > 0 && fadeOutFrames >= remaining;
    if (fadeOutBlock) want = remaining;

    SampleBlock block = reader_.ReadBlock(blockRequest(want));
    int values = block.upperBound();
    if (values < 1) {
      readerPosition_ = -1;  // the data ended: the position is no longer known
      return Ending::SourceEnded;
    }
    readerPosition_ += values / channels;
    if (values % channels != 0) {
      values += roundUp ? 1 : -1;
      roundUp = !roundUp;
    }
    if (fadeInBlock) transform_.Fade(block, 0, 100, channels);
    if (fadeOutBlock) transform_.Fade(block, 100, 0, channels);
    doneFrames += values / channels;
    if (throttle.due(doneFrames, pieceFrames)) {
      reporter_.pieceProgress(index, doneFrames, pieceFrames);
    }
    writer_.WriteBlock(block);
    if (piece.endsWithinShortTail && pieceFrames - doneFrames < kShortTailFrames) break;
  }
  return Ending::Whole;
}

void SplitWorker::settleCutOff(int index, const PiecePlan& piece, const QString& path) {
  // Cut short by another piece's error, or by a Stop whose caller wants no
  // partial pieces: removed, so that no file looks complete that is not.
  if (control_.failed() || removeCutOffOnStop_) {
    QFile::remove(path);
    partialPath_.clear();
    reporter_.pieceFinished(index, JobExecutor::PieceOutcome::Removed, QString());
    return;
  }
  partialPath_.clear();
  WriteOutputTags(path, piece.tags);
  reporter_.pieceFinished(index, JobExecutor::PieceOutcome::Stopped, path);
}

// A piece never begun is first reported started under its planned name, so
// that every line about it names a file.
void SplitWorker::dropWithoutAudio(int index, const PiecePlan& piece, int64_t endedAt,
                                   int sampleRate) {
  if (shortfalls_ != nullptr) shortfalls_->endedEarly(piece.sourcePath, endedAt, sampleRate, false);
  reporter_.pieceFinished(index, JobExecutor::PieceOutcome::Removed, QString());
}

void SplitWorker::abandonOutput() {
  try {
    if (writer_.IsOpen()) writer_.Close();
  } catch (...) {
    // What fails while closing adds nothing to the error at hand.
  }
  if (!partialPath_.isEmpty()) QFile::remove(partialPath_);
  partialPath_.clear();
}

}  // namespace tarvex
