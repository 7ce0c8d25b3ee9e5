#include "processing/JoinStream.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "components/audio/AudioError.h"
#include "components/audio/ErrorText.h"
#include "components/audio/mp3frames/Mp3FrameSource.h"
#include "components/audio/mp3frames/SeamlessJoin.h"

#include "processing/EncoderProfile.h"
#include "processing/JobFailure.h"
#include "processing/Mp3CopyChoice.h"
#include "processing/SourceShortfalls.h"
#include "tags/ID3Chapters.h"
#include "tags/OutputTags.h"

namespace tarvex {

namespace {

// A name in the folder of `path` that nothing holds, for an output written
// in full before it takes the place of `path`.
QString unusedNameBeside(const QString& path) {
  const QFileInfo target(path);
  for (;;) {
    const QString candidate = target.dir().filePath(
        QStringLiteral(".%1.%2.part")
            .arg(target.fileName())
            .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
    if (!QFileInfo::exists(candidate)) return candidate;
  }
}

// Puts the complete file `written` in the place of `path`, in one step.
void replaceWith(const QString& written, const QString& path) {
  std::error_code error;
  std::filesystem::rename(std::filesystem::path(QFile::encodeName(written).toStdString()),
                          std::filesystem::path(QFile::encodeName(path).toStdString()), error);
  if (!error) return;
  QFile::remove(written);
  throw AudioError(createError(path, QString::fromStdString(error.message())));
}

// The ID3 frames of one chapter per part, from its start (`starts`, output
// frames) to the next part's start or `end`, at the milliseconds nearest
// those samples, titled by the parts' titles; none without a rate.
QList<ID3Frame> partChapterFrames(const std::vector<JoinPart>& parts,
                                  const std::vector<int64_t>& starts, int64_t end, int rate) {
  if (starts.empty() || rate <= 0) return {};
  const auto ms = [rate](int64_t frame) { return (frame * 1000 + rate / 2) / rate; };
  QList<ID3Chapter> chapters;
  for (size_t i = 0; i < starts.size() && i < parts.size(); ++i) {
    const int64_t next = i + 1 < starts.size() ? starts[i + 1] : end;
    chapters << ID3Chapter{{}, parts[i].title, ms(starts[i]), ms(next)};
  }
  return id3ChapterFrames(chapters);
}

}  // namespace

JoinStream::JoinStream(const JoinPlan& plan, bool removeCutOffOnStop, JobControl& control,
                       JobReporter& reporter)
    : plan_(plan),
      removeCutOffOnStop_(removeCutOffOnStop),
      control_(control),
      reporter_(reporter) {}

void JoinStream::run() {
  try {
    if (copiesMp3Frames(plan_.profile.formatIndex) && !plan_.parts.empty()) {
      // Each file is indexed once: the index that decides the copy makes it.
      CopiedJoin join;
      const QString refusal = planCopiedJoin(plan_, join);
      if (refusal.isEmpty()) {
        copyOutput(join);
        return;
      }
      control_.noteOnce(joinFallbackNote(refusal));
    }
    writeOutput();
    // Less written than asked is no success, though the output stays.
    if (const QString shortfall = shortfalls_.message(); !shortfall.isEmpty())
      control_.fail(shortfall, -1);
  } catch (const std::exception& error) {
    control_.fail(jobErrorMessage(error), currentPart_);
    abandonOutput();
  } catch (...) {
    control_.fail(QStringLiteral("The joined file could not be written: an unexpected error"),
                  currentPart_);
    abandonOutput();
  }
  try {
    if (reader_.IsOpen()) reader_.Close();
  } catch (...) {
  }
}

void JoinStream::openSource(const JoinPart& part) {
  if (reader_.IsOpen() && openSource_ == part.source) return;
  openSource_ = -1;
  if (reader_.IsOpen()) reader_.Close();
  reader_.OpenRead(part.sourcePath, 0, 1);
  openSource_ = part.source;
  frames_ = SourceFrames::of(reader_);
  if (outRate_ <= 0 || outChannels_ <= 0) {
    outRate_ = frames_.sampleRate;
    outChannels_ = frames_.channels;
  }
  // Every block arrives in the output's rate and channels.
  reader_.SetPcmFormat(outRate_, outChannels_);
}

void JoinStream::writeOutput() {
  const std::vector<JoinPart>& parts = plan_.parts;
  ApplyEncoderProfile(plan_.profile, writer_, encoder_);
  outRate_ = plan_.outputRate;
  outChannels_ = plan_.outputChannels;
  if (outRate_ <= 0 || outChannels_ <= 0) {
    if (parts.empty()) return;  // nothing to take a format from, nothing to write
    currentPart_ = 0;
    openSource(parts.front());
  }
  totalFrames_ = 0;
  for (const JoinPart& part : parts)
    totalFrames_ += std::max<int64_t>(0, part.endFrame - part.firstFrame);

  writer_.SetPcmFormat(outRate_, outChannels_);
  if (writer_.IsOpen()) writer_.Close();
  partialPath_ = plan_.outputPath;
  writer_.CreateWrite(plan_.outputPath, 0);
  writer_.SetPcmFormat(outRate_, outChannels_);

  int cutPart = -1;
  std::vector<int64_t> starts;
  for (size_t index = 0; index < parts.size(); ++index) {
    const int part = static_cast<int>(index);
    if (control_.halted()) {
      if (control_.stopRequested()) control_.noteStopTookEffect();
      break;
    }
    currentPart_ = part;
    openSource(parts[index]);
    reporter_.pieceStarted(part, plan_.outputPath);
    starts.push_back(outputFrames_);
    if (copyPart(part, parts[index], index + 1 == parts.size()) == Ending::CutOff) {
      cutPart = part;
      break;
    }
    reporter_.pieceFinished(part, JobExecutor::PieceOutcome::Finished, plan_.outputPath);
  }
  currentPart_ = -1;
  if (reader_.IsOpen()) reader_.Close();
  writer_.Close();
  if (control_.failed() || (control_.stopTookEffect() && removeCutOffOnStop_)) {
    QFile::remove(plan_.outputPath);
    partialPath_.clear();
    if (cutPart >= 0) reporter_.pieceFinished(cutPart, JobExecutor::PieceOutcome::Removed, {});
    return;
  }
  if (cutPart >= 0) {
    partialPath_.clear();
    reporter_.pieceFinished(cutPart, JobExecutor::PieceOutcome::Stopped, plan_.outputPath);
    return;
  }
  // A tag that cannot be written fails the job but keeps the audio.
  partialPath_.clear();
  if (starts.size() == parts.size())
    writeChapters(plan_.outputPath, starts, outputFrames_, outRate_);
}

void JoinStream::writeChapters(const QString& path, const std::vector<int64_t>& starts,
                               int64_t endFrame, int rate) const {
  if (QFileInfo(path).suffix().compare(QLatin1String("mp3"), Qt::CaseInsensitive) != 0) return;
  AudioFileinfo info;
  info.carried.id3Frames = partChapterFrames(plan_.parts, starts, endFrame, rate);
  if (!info.carried.id3Frames.isEmpty()) WriteOutputTags(path, info);
}

void JoinStream::copyOutput(const CopiedJoin& join) {
  const std::vector<JoinPart>& parts = plan_.parts;
  const int64_t total = join.plan.samples;
  const QString& path = plan_.outputPath;
  currentPart_ = 0;
  reporter_.pieceStarted(0, path);
  reporter_.pieceProgress(0, 0, total);
  // A name chosen to be replaced is replaced only by a complete output.
  const bool replacing = QFileInfo::exists(path);
  const QString written = replacing ? unusedNameBeside(path) : path;
  // Chapters where the parts land: a part crossfaded with the one before
  // starts where the crossfade does.
  std::vector<int64_t> starts;
  for (const mp3frames::SeamlessJoinPart& part : join.plan.parts)
    starts.push_back(part.outputStart);
  AudioFileinfo info;
  info.carried.id3Frames =
      partChapterFrames(parts, starts, total, join.sources.front()->sampleRate());
  const QByteArray tag = info.carried.id3Frames.isEmpty() ? QByteArray() : outputID3V23Tag(info);
  if (!mp3frames::writeSeamlessJoin(join.spans, join.plan, written, tag, control_.haltFlag())) {
    // Nothing was kept: the copy removes what it wrote when stopped.
    if (control_.stopRequested()) control_.noteStopTookEffect();
    reporter_.pieceFinished(0, JobExecutor::PieceOutcome::Removed, QString());
    currentPart_ = -1;
    return;
  }
  if (replacing) replaceWith(written, path);
  currentPart_ = -1;
  for (int part = 0; part < static_cast<int>(parts.size()); ++part) {
    if (part > 0) reporter_.pieceStarted(part, path);
    if (part + 1 == static_cast<int>(parts.size())) reporter_.pieceProgress(part, total, total);
    reporter_.pieceFinished(part, JobExecutor::PieceOutcome::Finished, path);
  }
}

JoinStream::Ending JoinStream::copyPart(int index, const JoinPart& part, bool lastOfOutput) {
  // Positions count the source's own frames: the reader consumes exactly the
  // frames asked for, whatever it delivers after conversion.
  int64_t posFrame = part.whole ? 0 : std::clamp<int64_t>(part.firstFrame, 0, frames_.samples);
  const int64_t endFrame =
      part.whole ? frames_.samples : std::clamp<int64_t>(part.endFrame, posFrame, frames_.samples);
  reader_.Seek(posFrame, 3);
  const int64_t fadeInFrames = frames_.framesFor(plan_.fadeInSeconds);
  const int64_t fadeOutFrames = frames_.framesFor(plan_.fadeOutSeconds);
  ProgressThrottle throttle;
  bool fadedOut = false;
  while (posFrame < endFrame) {
    if (control_.halted()) {
      if (control_.stopRequested()) control_.noteStopTookEffect();
      return Ending::CutOff;
    }
    const int64_t remaining = endFrame - posFrame;
    int64_t want = std::min<int64_t>(remaining, frames_.regularBlockFrames());
    // One fade-in at the start of the output, never past the part's end.
    const bool fadeInBlock = !firstBlockWritten_ && fadeInFrames > 0;
    if (fadeInBlock) want = std::min(fadeInFrames, remaining);
    // One fade-out over the end of the output's last part.
    const bool fadeOutBlock = lastOfOutput && fadeOutFrames > 0 && fadeOutFrames >= remaining;
    if (fadeOutBlock) want = remaining;

    SampleBlock block = reader_.ReadBlock(blockRequest(want));
    if (block.upperBound() < 1) {
      // The source holds less than it was planned with.
      if (endFrame - posFrame > SourceShortfalls::kTolerance)
        shortfalls_.endedEarly(part.sourcePath, posFrame, frames_.sampleRate, true);
      return Ending::Whole;
    }
    if (fadeInBlock) transform_.Fade(block, 0, 100, outChannels_);
    if (fadeOutBlock) transform_.Fade(block, 100, 0, outChannels_);
    writtenFrames_ = std::min(totalFrames_, writtenFrames_ + want);
    firstBlockWritten_ = true;
    if (throttle.due(writtenFrames_, totalFrames_)) {
      reporter_.pieceProgress(index, writtenFrames_, totalFrames_);
    }
    writer_.WriteBlock(block);
    outputFrames_ += block.upperBound() / std::max(1, outChannels_);
    posFrame += want;
    fadedOut = fadedOut || fadeOutBlock;
  }
  if (part.whole) {
    // The frames a rate conversion still holds come with the data's end.
    SampleBlock tail = reader_.ReadBlock(1);
    if (tail.upperBound() < 1) return Ending::Whole;
    if (fadedOut) transform_.Fade(tail, 0, 0, outChannels_);
    writer_.WriteBlock(tail);
    outputFrames_ += tail.upperBound() / std::max(1, outChannels_);
  }
  return Ending::Whole;
}

void JoinStream::abandonOutput() {
  try {
    if (writer_.IsOpen()) writer_.Close();
  } catch (...) {
    // What fails while closing adds nothing to the error at hand.
  }
  if (!partialPath_.isEmpty()) QFile::remove(partialPath_);
  partialPath_.clear();
}

}  // namespace tarvex
