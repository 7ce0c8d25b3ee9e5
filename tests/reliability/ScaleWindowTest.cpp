#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <iostream>

#include "components/audio/AudioFile2.h"

#include "tests/reliability/HostileMedia.h"
#include "tests/support/GeneratedAudio.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/window/MainWindowHarness.h"
#include "tests/support/window/SourceFiles.h"

namespace tarvex {
namespace {

using testing::MainWindowHarness;

// MP3 pieces at 22050 Hz, mono, 64 kbit/s: quick to encode, and their LAME
// header (a 16 kbit/s frame is too small for it) makes their length exact.
const QString kSmallMp3Settings = QStringLiteral("[mp3]\nfrequency=4\nchannel=0\nbitrate=5\n");

// The resident memory of this process, in kB.
long residentKb() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
  }
  return 0;
}

TEST(ScaleWindow, FiveHundredSourcesAreListedSplitAndCleared) {
  QTemporaryDir media;
  ASSERT_TRUE(media.isValid());
  QStringList paths;
  for (int i = 0; i < 500; ++i) {
    paths << testing::makeWavSource(
        media.path() + QStringLiteral("/source%1.wav").arg(i, 3, 10, QChar('0')), 1.5);
  }
  MainWindowHarness harness(kSmallMp3Settings);
  harness.show();
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.mainSettings().pieceSeconds = 60;

  const long memoryBefore = residentKb();
  QElapsedTimer timer;
  timer.start();
  harness.addFiles(paths);
  const qint64 addMs = timer.restart();
  ASSERT_EQ(harness.window().lv().topLevelItemCount(), 500);
  ASSERT_EQ(harness.window().sources().count(), 500);
  EXPECT_EQ(harness.sourceCaptions().value(499), "source499.wav");
  harness.clickSourceRow(499);
  EXPECT_EQ(harness.segmentRows().size(), 1);

  harness.clickSkin("Split");
  const qint64 splitMs = timer.restart();
  EXPECT_TRUE(harness.platform().errors.isEmpty())
      << harness.platform().errors.join('\n').toStdString();
  const QStringList pieces = testing::folderEntries(harness.outputDir());
  ASSERT_EQ(pieces.size(), 500);
  EXPECT_EQ(pieces.value(499), "source499_1.mp3");
  EXPECT_EQ(testing::decodeFile(harness.outputDir() + pieces.value(250)).size(), 33075u)
      << "1.5 s at 22050 Hz mono";
  const long memoryAfter = residentKb();
  harness.triggerMenuItem("Clear1");
  EXPECT_EQ(harness.window().lv().topLevelItemCount(), 0);
  std::cout << "[ figures  ] 500 sources: add " << addMs << " ms, split " << splitMs
            << " ms, memory " << memoryBefore << " -> " << memoryAfter << " kB\n";
}

TEST(ScaleWindow, AnHourLongSourceSplitEveryTenMinutesGivesSixExactPieces) {
  QTemporaryDir media;
  ASSERT_TRUE(media.isValid());
  const QString source = media.path() + QStringLiteral("/hour.wav");
  // (bench/scale cuts a 24-hour source; this one stays quick.)
  const int64_t frames = int64_t{60} * 60 * 8000;
  testing::OutputSettings wav;
  wav.format = testing::AudioFormat::Wav;
  ASSERT_EQ(testing::writeAudioFile(source, testing::Signal::Tone, frames, 8000, 1, wav), frames);

  MainWindowHarness harness(kSmallMp3Settings);
  harness.show();
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.mainSettings().pieceSeconds = 600;
  harness.addFiles({source});
  ASSERT_EQ(harness.segmentRows().size(), 6);
  EXPECT_EQ(harness.segmentRows().value(5), "00:50:00 - 01:00:00|00:10:00|Unconvert");

  const long memoryBefore = residentKb();
  QElapsedTimer timer;
  timer.start();
  harness.clickSkin("Split");
  const qint64 splitMs = timer.elapsed();
  const long memoryAfter = residentKb();
  EXPECT_TRUE(harness.platform().errors.isEmpty())
      << harness.platform().errors.join('\n').toStdString();
  const QStringList pieces = testing::folderEntries(harness.outputDir());
  ASSERT_EQ(pieces.size(), 6);
  for (const QString& name : pieces) {
    AudioFile2 reader;
    reader.OpenRead(harness.outputDir() + name, 0, 1);
    EXPECT_EQ(reader.Samples(), 600 * 22050) << name.toStdString();
    reader.Close();
    QFile::remove(harness.outputDir() + name);  // keeps the disk use of the test small
  }
#ifndef __SANITIZE_ADDRESS__
  // One block at a time: the job's memory does not grow with the audio it cuts.
  // (The address sanitizer keeps freed blocks in quarantine, so not there.)
  EXPECT_LT(memoryAfter - memoryBefore, 64 * 1024) << "kB";
#endif
  std::cout << "[ figures  ] 1 h WAV in 6 MP3 pieces: split " << splitMs << " ms, memory "
            << memoryBefore << " -> " << memoryAfter << " kB\n";
}

}  // namespace
}  // namespace tarvex
