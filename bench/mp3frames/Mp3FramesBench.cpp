// Times the lossless MP3 engine: a 60-minute 128 kbit/s MP3 split into 60 s
// pieces (each with its ID3v2 tag), and two 10-minute files joined. The long
// files are one encoded minute joined to itself, which gives real frames
// without encoding an hour. The split is timed twice: the engine alone, and
// as the job the window and the command line run ("MP3 (no re-encode)"
// through the executor: pieces on all cores, names claimed exclusively).
// Prints the best of three runs.

#include "components/audio/AudioFile2.h"
#include "components/audio/Mp3LameEncoder.h"
#include "components/audio/mp3frames/EdgeEncoder.h"
#include "components/audio/mp3frames/Mp3FrameSource.h"
#include "components/audio/mp3frames/Mp3LosslessCut.h"
#include "components/audio/mp3frames/Mp3LosslessJoin.h"
#include "processing/JobExecutor.h"
#include "processing/OutputNaming.h"
#include "tags/EdgeAudioFrame.h"
#include "tags/ID3V2Writer.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>

namespace {

using namespace tarvex;

constexpr int kRate = 44100;

void encodeMinute(const QString& path) {
  Mp3LameEncoder encoder;
  encoder.setVbrMethod(-1);
  encoder.setBitrate(128);
  encoder.setQuality(7);
  encoder.setChannels(2);
  encoder.setStereoMode(2);
  encoder.setSampleRate(kRate);
  AudioFile2 writer;
  writer.setActive(true);
  writer.SetMp3Encoder(encoder);
  writer.SetPcmFormat(kRate, 2);
  writer.CreateWrite(path);
  uint32_t seed = 7;
  for (int second = 0; second < 60; ++second) {
    SampleBlock block;
    block.values.resize(size_t{kRate} * 2);
    for (int i = 0; i < kRate; ++i) {
      for (int c = 0; c < 2; ++c) {
        seed = seed * 1664525u + 1013904223u;
        const double noise = (static_cast<double>(seed >> 8) / 16777216.0 - 0.5) * 0.2;
        block.values[size_t(i) * 2 + c] = static_cast<float>(
            0.3 * std::sin(2 * std::numbers::pi * (330.0 + 110 * c + second) * i / kRate) + noise);
      }
    }
    writer.WriteBlock(block);
  }
  writer.Close();
}

double bestOfThree(const std::function<void()>& prepare, const std::function<void()>& work) {
  double best = 1e9;
  for (int run = 0; run < 3; ++run) {
    prepare();
    const auto start = std::chrono::steady_clock::now();
    work();
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    best = std::min(best, took.count());
  }
  return best;
}

void emptyFolder(const QString& path) {
  QDir folder(path);
  folder.removeRecursively();
  QDir().mkpath(path);
}

// The plan Split makes of `source` with 60-second pieces and MP3 (no re-encode).
SplitPlan copyPlan(const QString& source, int64_t samples, const QString& folder) {
  SplitPlan plan;
  plan.profile.formatIndex = kFormatMp3Copy;
  plan.outputFolder = folder + QLatin1Char('/');
  const int64_t step = int64_t{kRate} * 60;
  for (int64_t first = 0, row = 0; first < samples; first += step, ++row) {
    PiecePlan piece;
    piece.row = static_cast<int>(row);
    piece.sourcePath = source;
    piece.firstFrame = first;
    piece.endFrame = std::min(first + step, samples);
    piece.nameStem = QStringLiteral("hour");
    piece.outputPath = numberedOutputName(piece.nameStem, piece.row + 1, plan.outputFolder,
                                          QStringLiteral(".mp3"));
    piece.tags.title = QStringLiteral("Piece %1").arg(row + 1);
    piece.tags.artist = QStringLiteral("Bench");
    piece.tags.track = QStringLiteral("%1/60").arg(row + 1);
    plan.pieces.push_back(std::move(piece));
  }
  return plan;
}

void runToEnd(const SplitPlan& plan) {
  JobExecutor executor;
  QEventLoop loop;
  QObject::connect(&executor, &JobExecutor::jobFailed, [](const QString& message, int) {
    std::fprintf(stderr, "%s\n", qPrintable(message));
  });
  QObject::connect(&executor, &JobExecutor::jobNote,
                   [](const QString& note) { std::fprintf(stderr, "%s\n", qPrintable(note)); });
  QObject::connect(&executor, &JobExecutor::jobFinished, &loop, &QEventLoop::quit);
  executor.start(plan, JobExecutor::Options{});
  loop.exec();
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  QTemporaryDir temp;
  const QString minute = temp.filePath(QStringLiteral("minute.mp3"));
  encodeMinute(minute);
  const QString hour = temp.filePath(QStringLiteral("hour.mp3"));
  const QString tenA = temp.filePath(QStringLiteral("tenA.mp3"));
  const QString tenB = temp.filePath(QStringLiteral("tenB.mp3"));
  mp3frames::joinMp3Lossless(QStringList(60, minute), hour, {});
  mp3frames::joinMp3Lossless(QStringList(10, minute), tenA, {});
  mp3frames::joinMp3Lossless(QStringList(10, minute), tenB, {});

  const QString pieces = temp.filePath(QStringLiteral("pieces"));
  int pieceCount = 0;
  const auto splitHour = [&](mp3frames::PieceEdges edges) {
    return bestOfThree(
        [&] { emptyFolder(pieces); },
        [&] {
          const mp3frames::Mp3FrameSource source(hour);
          mp3frames::EdgeEncoder edgeEncoder;  // kept across pieces, as a worker keeps it
          const int64_t step = int64_t{kRate} * 60;
          pieceCount = 0;
          for (int64_t first = 0; first < source.totalSamples(); first += step, ++pieceCount) {
            ID3StructV2 fields;
            fields.title = QStringLiteral("Piece %1").arg(pieceCount + 1);
            fields.artist = QStringLiteral("Bench");
            fields.track = QString::number(pieceCount + 1);
            // The tag takes the piece's edge audio, as a Split job's does.
            const auto tagWithEdgeAudio = [&fields](const QByteArray& edgeAudio) {
              ID3StructV2 tagged = fields;
              if (!edgeAudio.isEmpty()) tagged.others.append(edgeAudioFrame(edgeAudio));
              return buildID3V23Tag(tagged);
            };
            mp3frames::writeMp3Piece(source, first, std::min(first + step, source.totalSamples()),
                                     QStringLiteral("%1/%2.mp3").arg(pieces).arg(pieceCount), {},
                                     nullptr, edges, {}, &edgeEncoder, nullptr, tagWithEdgeAudio);
          }
        });
  };
  const double split = splitHour(mp3frames::PieceEdges::Reencoded);
  const double copiedEdges = splitHour(mp3frames::PieceEdges::Copied);
  const SplitPlan plan = copyPlan(hour, mp3frames::Mp3FrameSource(hour).totalSamples(), pieces);
  const double job = bestOfThree([&] { emptyFolder(pieces); }, [&] { runToEnd(plan); });
  const QString joined = temp.filePath(QStringLiteral("joined.mp3"));
  const double join = bestOfThree([&] { QFile::remove(joined); },
                                  [&] {
                                    mp3frames::joinMp3Lossless({tenA, tenB}, joined, {});
                                  });

  const double hourSeconds =
      static_cast<double>(mp3frames::Mp3FrameSource(hour).totalSamples()) / kRate;
  std::printf(
      "lossless split: %.1f min 128 kbit/s MP3 into %d pieces of 60 s, tags included: "
      "%.3f s (%.0fx real time; target 0.5 s)\n",
      hourSeconds / 60, pieceCount, split, hourSeconds / split);
  std::printf("the same with copied edges (neighbours hidden only by the LAME header): %.3f s\n",
              copiedEdges);
  std::printf("the same as a Split job (executor, all cores): %.3f s (%zu pieces)\n", job,
              plan.pieces.size());
  std::printf("lossless join: two 10-minute files: %.3f s (target 0.3 s)\n", join);
  return 0;
}
