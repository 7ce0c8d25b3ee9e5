#include "processing/verify/OutputVerifier.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <memory>

#include "components/audio/AudioFile2.h"
#include "processing/verify/Alignment.h"
#include "processing/verify/CopiedJoinLayout.h"
#include "processing/verify/DecodedWindow.h"
#include "processing/verify/ReencodedFrames.h"
#include "processing/verify/SampleDifference.h"

namespace tarvex::verify {

namespace {

// Frames aligned at each edge of a part.
constexpr int64_t kAlignFrames = 8192;
// How many times further than a cut's edge a join's parts are searched.
constexpr int kSeamSearchFactor = 4;
// A seam clicks when its step passes the planned audio's by more than 1 dB
// and a 16-bit step.
constexpr double kClickRatio = 1.122;
constexpr double kClickFloor = 1.0 / 32768;
// Samples of one granule, at every MPEG version.
constexpr int kGranule = 576;
// The most two decodes of the same frames may differ by: the decoder's
// synthesis filter sums in an order that follows the frame's place in the
// stream, so a copied frame decodes a float rounding (about 1e-7) apart
// from the same frame in its source. Anything else shows far above this.
constexpr double kMp3Tolerance = 1e-6;

// How many samples at an output's edge a fade of `seconds` covers, with a
// margin of 10 ms for the fade's rounding to the blocks it is applied in.
int64_t fadedSamples(int seconds, int sampleRate, int64_t length) {
  if (seconds <= 0) return 0;
  return std::min(length, int64_t{seconds} * sampleRate + sampleRate / 100 + 1);
}

int searchRange(int sampleRate) {
  return sampleRate >= 32000 ? 2304 : 1152;  // two frames of MPEG-1, of MPEG-2 and 2.5
}

bool isMp3(const QString& path) {
  return QFileInfo(path).suffix().compare(QLatin1String("mp3"), Qt::CaseInsensitive) == 0;
}

bool isPcm(const QString& path) {
  return QFileInfo(path).suffix().compare(QLatin1String("wav"), Qt::CaseInsensitive) == 0;
}

Alignment alignAt(AudioFile2& output, int64_t outputFirst, AudioFile2& source, int64_t sourceFirst,
                  int64_t frames, int maxOffset) {
  return alignWindow(readWindow(output, outputFirst, frames),
                     readWindow(source, sourceFirst - maxOffset, frames + 2 * maxOffset),
                     output.Channels(), maxOffset);
}

// Where a part's audio lies in the output against the plan: a negative
// offset (the output holds earlier source audio at the planned place) puts
// it later.
QString offsetText(int64_t offset) {
  return offset < 0 ? QStringLiteral("%1 samples later in the output than planned").arg(-offset)
                    : QStringLiteral("%1 samples earlier in the output than planned").arg(offset);
}

// The part's samples [from, to) (counted from its start) lie outside the
// output's fades; only those are aligned.
void checkPart(PartCheck& part, int64_t length, int64_t from, int64_t to, int maxOffset,
               AudioFile2& output, AudioFile2& source, const std::vector<SampleSpan>& excluded,
               OutputCheck& check) {
  const Difference difference =
      compareStretch(output, part.outputStart, source, part.plan.firstSample, length, excluded);
  part.largestDifference = difference.largest;
  part.comparedSamples = difference.compared;
  if (to <= from) {
    part.underFade = true;
  } else {
    // Each edge is aligned on a window set in from it by the search's reach
    // where the part is long enough, so that whatever a shifted output holds
    // beyond the part (a neighbour's audio, a gap) stays out of the window.
    const int64_t window = std::min(kAlignFrames, to - from);
    const int64_t inset = std::clamp<int64_t>((to - from - window) / 2, 0, maxOffset);
    const Alignment start = alignAt(output, part.outputStart + from + inset, source,
                                    part.plan.firstSample + from + inset, window, maxOffset);
    const Alignment end = alignAt(output, part.outputStart + to - window - inset, source,
                                  part.plan.firstSample + to - window - inset, window, maxOffset);
    part.startOffset = start.offset;
    part.startSilent = start.silent;
    part.endOffset = end.offset;
    part.endSilent = end.silent;
  }

  const QString name = QFileInfo(part.plan.sourcePath).fileName();
  const auto judgeOffset = [&](const Alignment& found, const QString& edge) {
    if (found.silent) return;
    if (!found.offset) {
      check.problems << QStringLiteral(
                            "the %1 of the part from %2 matches its source at no "
                            "offset within %3 samples")
                            .arg(edge, name)
                            .arg(maxOffset);
    } else if (*found.offset != 0) {
      check.problems << QStringLiteral("the %1 of the part from %2 lies %3")
                            .arg(edge, name, offsetText(*found.offset));
    }
  };
  if (!part.underFade) {
    judgeOffset(Alignment{part.startOffset, part.startSilent}, QStringLiteral("start"));
    judgeOffset(Alignment{part.endOffset, part.endSilent}, QStringLiteral("end"));
  }
  if (check.differenceJudged && difference.compared > 0 && difference.largest > check.tolerance) {
    check.problems << QStringLiteral("the part from %1 differs from its source by up to %2")
                          .arg(name)
                          .arg(difference.largest, 0, 'g', 6);
  }
}

void checkSeam(const PartCheck& before, const PartCheck& after, AudioFile2& output,
               AudioFile2& earlierSource, AudioFile2& laterSource, int granule,
               OutputCheck& check) {
  SeamCheck seam;
  seam.outputPosition = after.outputStart;
  seam.plannedOverlap =
      before.plan.endSample - before.plan.firstSample + before.outputStart - after.outputStart;
  if (before.endOffset && after.startOffset)
    seam.gap = *before.endOffset - *after.startOffset - seam.plannedOverlap;
  seam.seamStep = largestStep(readWindow(output, seam.outputPosition - granule, 2 * granule + 1),
                              output.Channels());
  const int64_t span = output.SampleRate() / 20;  // 50 ms
  std::vector<float> planned = readWindow(earlierSource, before.plan.endSample - span, span);
  const std::vector<float> later = readWindow(laterSource, after.plan.firstSample, span);
  planned.insert(planned.end(), later.begin(), later.end());
  seam.plannedStep = largestStep(planned, output.Channels());
  seam.click = seam.seamStep > seam.plannedStep * kClickRatio + kClickFloor;
  const double seconds = static_cast<double>(seam.outputPosition) / output.SampleRate();
  if (seam.gap && *seam.gap != -seam.plannedOverlap) {
    check.problems << QStringLiteral("the seam at %1 s has %2 of %3 samples%4")
                          .arg(seconds, 0, 'f', 3)
                          .arg(*seam.gap > 0 ? QStringLiteral("a gap")
                                             : QStringLiteral("an overlap"))
                          .arg(std::llabs(*seam.gap))
                          .arg(seam.plannedOverlap > 0
                                   ? QStringLiteral(" where a crossfade of %1 is planned")
                                         .arg(seam.plannedOverlap)
                                   : QString());
  }
  if (seam.click) {
    check.problems << QStringLiteral(
                          "the seam at %1 s clicks: a step of %2 where the audio "
                          "itself steps at most %3")
                          .arg(seconds, 0, 'f', 3)
                          .arg(seam.seamStep, 0, 'g', 4)
                          .arg(seam.plannedStep, 0, 'g', 4);
  }
  check.seams.push_back(seam);
}

}  // namespace

OutputCheck verifyOutput(const PlannedOutput& planned) {
  OutputCheck check;
  check.outputPath = planned.outputPath;
  AudioFile2 output;
  output.OpenRead(planned.outputPath);
  check.sampleRate = output.SampleRate();
  check.channels = output.Channels();
  check.decodedLength = output.Samples();

  ReencodedFrames frames;
  if (isMp3(planned.outputPath)) {
    frames = findReencodedFrames(planned.outputPath, planned.parts);
    check.reencodedFrames = frames.reencoded;
    check.outputFrames = frames.outputFrames;
    check.differenceJudged = true;
    check.tolerance = kMp3Tolerance;
  } else if (isPcm(planned.outputPath)) {
    check.differenceJudged = true;
    check.tolerance = 1.0 / 32768;  // a 16-bit step, the coarsest PCM written
  }

  // A join's seams may be further off than a cut's edge: a copied seam keeps
  // both files' delay and padding, 3456 samples between two copied pieces.
  const int maxOffset =
      searchRange(check.sampleRate) * (planned.parts.size() > 1 ? kSeamSearchFactor : 1);
  // A join copied frame by frame crossfades files that do not meet on its
  // frame grid over less than a frame: each such part starts that much early.
  std::vector<int64_t> overlaps;
  if (frames.outputFrames > frames.reencoded && planned.parts.size() > 1)
    overlaps = copiedJoinOverlaps(planned.parts);
  std::vector<std::unique_ptr<AudioFile2>> sources;
  for (const PlannedPart& plan : planned.parts) {
    PartCheck part;
    part.plan = plan;
    const size_t index = check.parts.size();
    if (index < overlaps.size()) check.plannedLength -= overlaps[index];
    part.outputStart = check.plannedLength;
    auto source = std::make_unique<AudioFile2>();
    source->OpenRead(plan.sourcePath);
    const int64_t length = std::max<int64_t>(0, plan.endSample - plan.firstSample);
    if (source->SampleRate() != check.sampleRate || source->Channels() != check.channels) {
      part.notCompared = QStringLiteral("converted from %1 Hz, %2 channels")
                             .arg(source->SampleRate())
                             .arg(source->Channels());
      check.plannedLength +=
          std::llround(static_cast<double>(length) * check.sampleRate / source->SampleRate());
    } else {
      check.plannedLength += length;
    }
    check.parts.push_back(part);
    sources.push_back(std::move(source));
  }

  check.fadedStart = fadedSamples(planned.fadeInSeconds, check.sampleRate, check.plannedLength);
  check.fadedEnd = fadedSamples(planned.fadeOutSeconds, check.sampleRate, check.plannedLength);
  std::vector<SampleSpan> excluded = frames.spans;
  if (check.fadedStart > 0) excluded.push_back({0, check.fadedStart});
  if (check.fadedEnd > 0)
    excluded.push_back({check.plannedLength - check.fadedEnd, check.plannedLength});
  std::sort(excluded.begin(), excluded.end(),
            [](const SampleSpan& a, const SampleSpan& b) { return a.first < b.first; });
  for (size_t index = 0; index < check.parts.size(); ++index) {
    PartCheck& part = check.parts[index];
    const int64_t length = std::max<int64_t>(0, part.plan.endSample - part.plan.firstSample);
    if (!part.notCompared.isEmpty() || length == 0) continue;
    const int64_t from = std::clamp<int64_t>(check.fadedStart - part.outputStart, 0, length);
    const int64_t to =
        std::clamp<int64_t>(check.plannedLength - check.fadedEnd - part.outputStart, 0, length);
    checkPart(part, length, from, to, maxOffset, output, *sources[index], excluded, check);
  }

  for (size_t index = 1; index < check.parts.size(); ++index) {
    const PartCheck& before = check.parts[index - 1];
    const PartCheck& after = check.parts[index];
    if (!before.notCompared.isEmpty() || !after.notCompared.isEmpty()) continue;
    checkSeam(before, after, output, *sources[index - 1], *sources[index], kGranule, check);
  }
  if (check.decodedLength != check.plannedLength) {
    check.problems.prepend(QStringLiteral("decodes to %1 samples where %2 are planned")
                               .arg(check.decodedLength)
                               .arg(check.plannedLength));
  }
  return check;
}

}  // namespace tarvex::verify
