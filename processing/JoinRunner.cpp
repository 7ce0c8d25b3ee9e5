#include "processing/JoinRunner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTreeWidget>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "components/audio/AudioError.h"
#include "components/audio/AudioFile2.h"
#include "components/audio/AudioTransform2.h"
#include "platform/PlatformServices.h"
#include "processing/EncoderProfile.h"
#include "processing/JobFailure.h"
#include "processing/OutputNaming.h"
#include "processing/SourceFrames.h"
#include "processing/SplitRunner.h"
#include "sources/MulDiv.h"
#include "sources/SegmentList.h"

namespace tarvex {

namespace {

// True when both paths name one file: the same path, a link to it, or a hard link.
bool sameFile(const QString& a, const QString& b) {
  const QString canonicalA = QFileInfo(a).canonicalFilePath();
  if (!canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath()) return true;
  std::error_code error;
  const bool same =
      std::filesystem::equivalent(std::filesystem::path(QFile::encodeName(a).toStdString()),
                                  std::filesystem::path(QFile::encodeName(b).toStdString()), error);
  return !error && same;
}

// The planned frames of a range, counted as the source list measured the
// source; used for the progress display only.
int64_t plannedFrames(const listrecord& record, int begin, int end, bool whole) {
  if (whole || record.lengthSeconds <= 0) return std::max<int64_t>(0, record.sampleCount);
  const int64_t first = MulDiv(std::max(0, begin), record.sampleCount, record.lengthSeconds);
  const int64_t last = end >= record.lengthSeconds
                           ? record.sampleCount
                           : MulDiv(end, record.sampleCount, record.lengthSeconds);
  return std::clamp<int64_t>(last - first, 0, record.sampleCount);
}

}  // namespace

JoinRunner::JoinRunner(JobServices services)
    : services_(std::move(services)), progress_(services_.parts, services_.progress) {}

void JoinRunner::pump() {
  if (services_.pumpEvents) {
    services_.pumpEvents();
  } else {
    QCoreApplication::processEvents();
  }
}

bool JoinRunner::running() const {
  return services_.parts.state->jobRunning;
}

JobOutcome JoinRunner::Join() {
  MainWindowState& state = *services_.parts.state;
  if (state.jobRunning) return JobOutcome::NothingRan;
  if (state.IsPlaying && services_.stopPlayback) services_.stopPlayback();
  const std::optional<JoinOutput> output = ChooseJoinOutput();
  if (!output) return JobOutcome::NothingRan;
  const JobOutcome outcome = runFor(state.functionChoice, *output);
  state.jobRunning = false;
  if (outcome == JobOutcome::Completed || outcome == JobOutcome::Stopped) {
    services_.platform.openFolder(state.outputDir);
  }
  return outcome;
}

std::optional<JoinOutput> JoinRunner::ChooseJoinOutput() {
  const WindowParts& parts = services_.parts;
  if (parts.lv->topLevelItemCount() == 0) return std::nullopt;
  const int current = services_.formatIndex ? services_.formatIndex() : kFormatMp3;
  const auto choice = services_.platform.getSaveFileName(
      parts.window, QString(), parts.state->outputDir, {kJoinFilter}, current + 1);
  if (!choice || choice->fileName.isEmpty()) return std::nullopt;

  JoinOutput output;
  output.formatIndex = choice->filterIndex - 1;
  if (services_.setFormatIndex) services_.setFormatIndex(output.formatIndex);
  output.path = joinOutputPath(choice->fileName, OutputExtension(output.formatIndex));
  // The dialog asked before replacing the name as typed, not the completed one.
  if (output.path != choice->fileName && pathTaken(output.path)) {
    services_.platform.showInformation(
        parts.window, kJoinNameTakenMessage.arg(QDir::toNativeSeparators(output.path)));
    return std::nullopt;
  }
  for (const listrecord& record : *parts.records) {
    if (sameFile(output.path, record.fileName)) {
      services_.platform.showInformation(parts.window, kJoinOverSourceMessage);
      return std::nullopt;
    }
  }
  return output;
}

JobOutcome JoinRunner::runFor(int functionChoice, const JoinOutput& output) {
  switch (functionChoice) {
    case 0:
      return CustomAudioJoiner(output);
    case 1:
    case 2:
      return WholeAudioJoiner(output);
    case 3:
      return UnifiAudoJoiner(output);
    default:
      return JobOutcome::NothingRan;
  }
}

JobOutcome JoinRunner::CustomAudioJoiner(const JoinOutput& output) {
  return runJob(Mode::Custom, output);
}
JobOutcome JoinRunner::WholeAudioJoiner(const JoinOutput& output) {
  return runJob(Mode::Whole, output);
}
JobOutcome JoinRunner::UnifiAudoJoiner(const JoinOutput& output) {
  return runJob(Mode::Unification, output);
}

std::vector<JoinRunner::Range> JoinRunner::rangesFor(Mode mode, int source) const {
  const std::vector<listrecord>& records = *services_.parts.records;
  const listrecord& record = records[source];
  std::vector<Range> ranges;
  switch (mode) {
    case Mode::Whole:
      ranges.push_back({0, 0, record.lengthSeconds, true});
      break;
    case Mode::Custom: {
      const std::vector<Segment> rows = withPendingRowFixed(planMarkedRanges(record));
      for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        ranges.push_back({row, rows[row].begin, rows[row].end, false});
      }
      break;
    }
    case Mode::Unification: {
      const std::vector<Segment> rows = withPendingRowFixed(planMarkedRanges(records.front()));
      for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
        // A shared range past this source's end contributes nothing.
        if (rows[row].begin > record.lengthSeconds) continue;
        ranges.push_back(
            {row, rows[row].begin, std::min(rows[row].end, record.lengthSeconds), false});
      }
      break;
    }
  }
  return ranges;
}

void JoinRunner::showRows(Mode mode, int source) {
  const std::vector<listrecord>& records = *services_.parts.records;
  switch (mode) {
    case Mode::Whole:
      services_.segments.showRows({{0, records[source].lengthSeconds, kStatusConverting}},
                                  records[source]);
      break;
    case Mode::Custom:
      services_.segments.showRows(withPendingRowFixed(planMarkedRanges(records[source])),
                                  records[source]);
      break;
    case Mode::Unification:
      services_.segments.showRows(withPendingRowFixed(planMarkedRanges(records.front())),
                                  records.front());
      break;
  }
}

JobOutcome JoinRunner::runJob(Mode mode, const JoinOutput& output) {
  MainWindowState& state = *services_.parts.state;
  const std::vector<listrecord>& records = *services_.parts.records;
  const int count =
      std::min<int>(services_.parts.lv->topLevelItemCount(), static_cast<int>(records.size()));
  if (state.jobRunning || count == 0) return JobOutcome::NothingRan;
  state.jobRunning = true;
  failedRow_ = -1;
  partialPath_.clear();
  writtenFrames_ = 0;
  firstBlockWritten_ = false;
  AudioFile2& reader = services_.reader;
  AudioFile2& writer = services_.writer;
  try {
    ApplyEncoderProfile(services_.settings, output.formatIndex,
                        services_.commandLine ? services_.commandLine() : QString(), writer,
                        services_.encoder);

    std::vector<std::vector<Range>> plan(count);
    totalFrames_ = 0;
    int lastSource = -1;
    for (int source = 0; source < count; ++source) {
      plan[source] = rangesFor(mode, source);
      for (const Range& range : plan[source]) {
        totalFrames_ += plannedFrames(records[source], range.begin, range.end, range.whole);
      }
      if (!plan[source].empty()) lastSource = source;
    }

    if (reader.IsOpen()) reader.Close();
    reader.OpenRead(records.front().fileName, 0, 1);
    const int outRate = reader.SampleRate();
    outChannels_ = reader.Channels();
    reader.Close();

    writer.SetPcmFormat(outRate, outChannels_);
    if (writer.IsOpen()) writer.Close();
    writer.CreateWrite(output.path, 0);
    partialPath_ = output.path;
    writer.SetPcmFormat(outRate, outChannels_);

    for (int source = 0; source < count; ++source) {
      pump();
      if (!running()) break;
      selectRow(*services_.parts.lv, source);
      state.currentSource = source;
      showRows(mode, source);
      services_.parts.lv->setFocus();

      if (plan[source].empty()) continue;
      failedRow_ = plan[source].front().row;
      if (reader.IsOpen()) reader.Close();
      reader.OpenRead(records[source].fileName, 0, 1);
      const SourceFrames frames = SourceFrames::of(reader);
      // Every block arrives in the output's rate and channels.
      reader.SetPcmFormat(outRate, outChannels_);
      for (size_t index = 0; index < plan[source].size(); ++index) {
        const Range& range = plan[source][index];
        pump();
        if (!running()) break;
        failedRow_ = range.row;
        services_.segments.setStatus(range.row, kStatusConverting);
        copyRange(range, frames, source == lastSource && index + 1 == plan[source].size());
        services_.segments.setStatus(range.row, kStatusFinish);
      }
      reader.Close();
      failedRow_ = -1;
    }
    writer.Close();
    partialPath_.clear();
  } catch (const std::exception& error) {
    fail(jobErrorMessage(error));
    return JobOutcome::Failed;
  }
  const bool stopped = !state.jobRunning;
  progress_.clear();
  state.jobRunning = false;
  return stopped ? JobOutcome::Stopped : JobOutcome::Completed;
}

void JoinRunner::copyRange(const Range& range, const SourceFrames& frames, bool lastOfOutput) {
  const MainWindowState& state = *services_.parts.state;
  AudioFile2& reader = services_.reader;
  // Positions count the source's own frames: the reader consumes exactly the
  // frames asked for, whatever it delivers after conversion.
  int64_t posFrame = range.whole ? 0 : frames.beginFrame(range.begin);
  const int64_t endFrame = range.whole ? frames.samples : frames.endFrame(range.end);
  reader.Seek(posFrame, 3);
  const int64_t fadeOutFrames = frames.framesFor(state.fadeOutSeconds);
  bool fadedOut = false;
  while (posFrame < endFrame) {
    pump();
    if (!running()) return;
    const int64_t remaining = endFrame - posFrame;
    int64_t want = std::min<int64_t>(remaining, frames.regularBlockFrames());
    // One fade-in at the start of the output, never past the range's end.
    const int64_t fadeInFrames = frames.framesFor(state.fadeInSeconds);
    const bool fadeInBlock = state.fadeIn && !firstBlockWritten_ && fadeInFrames > 0;
    if (fadeInBlock) want = std::min(fadeInFrames, remaining);
    // One fade-out over the end of the output's last range.
    const bool fadeOutBlock =
        state.fadeOut && lastOfOutput && fadeOutFrames > 0 && fadeOutFrames >= remaining;
    if (fadeOutBlock) want = remaining;

    SampleBlock block = reader.ReadBlock(blockRequest(want));
    if (block.upperBound() < 1) return;  // the data ended early
    if (fadeInBlock) services_.transform.Fade(block, 0, 100, outChannels_);
    if (fadeOutBlock) services_.transform.Fade(block, 100, 0, outChannels_);
    writtenFrames_ = std::min(totalFrames_, writtenFrames_ + want);
    firstBlockWritten_ = true;
    progress_.show(writtenFrames_, totalFrames_);
    services_.writer.WriteBlock(block);
    posFrame += want;
    fadedOut = fadedOut || fadeOutBlock;
  }
  if (range.whole) {
    // The frames a rate conversion still holds come with the data's end.
    SampleBlock tail = reader.ReadBlock(1);
    if (tail.upperBound() < 1) return;
    if (fadedOut) services_.transform.Fade(tail, 0, 0, outChannels_);
    services_.writer.WriteBlock(tail);
  }
}

void JoinRunner::fail(const QString& message) {
  endFailedJob(services_, progress_, partialPath_, failedRow_, message);
}

}  // namespace tarvex
