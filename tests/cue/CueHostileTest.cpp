// Sheets that cannot be used are refused with a message naming the file, the
// line and the fault, never a crash or a wrong set of ranges.
#include <gtest/gtest.h>

#include <QFile>

#include "sources/cue/CueSheetError.h"
#include "sources/cue/CueSheetReader.h"
#include "tests/support/TempFolder.h"

namespace tarvex {
namespace {

QString refusal(const QByteArray& bytes) {
  try {
    parseCueSheet(bytes, QStringLiteral("/rips/bad.cue"));
  } catch (const CueSheetError& error) {
    return error.message();
  }
  return QStringLiteral("<accepted>");
}

TEST(CueHostile, MalformedSheetsNameTheLineAndFault) {
  struct Case {
    const char* sheet;
    const char* expected;
  };
  const Case cases[] = {
      {"FILE a.wav WAVE\nTRACK 01 AUDIO\nINDEX 01 00:61:00\n", "line 3: the time \"00:61:00\""},
      {"FILE a.wav WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:75\n", "line 3: the time"},
      {"FILE a.wav WAVE\nTRACK 01 AUDIO\nINDEX 01 1:2\n", "line 3: the time \"1:2\""},
      {"FILE a.wav WAVE\nTRACK 01 AUDIO\nINDEX 01 -1:00:00\n", "line 3: the time"},
      {"FILE a.wav WAVE\nTRACK 01 AUDIO\nINDEX\n", "line 3: INDEX needs a number and a time"},
      {"TRACK 01 AUDIO\nINDEX 01 00:00:00\n", "line 1: TRACK comes before any FILE"},
      {"FILE a.wav WAVE\nINDEX 01 00:00:00\n", "line 2: INDEX comes before any TRACK"},
      {"FILE a.wav WAVE\nTRACK AUDIO\n", "line 2: TRACK needs a number"},
      {"FILE a.wav WAVE\nTRACK 01 AUDIO\nTITLE x\nTRACK 02 AUDIO\nINDEX 01 00:00:00\n",
       "line 2: track 1 has no INDEX 01"},
      {"FILE a.wav WAVE\nTRACK 01 AUDIO\nINDEX 00 00:00:00\n", "track 1 has no INDEX 01"},
      {"FILE a.wav WAVE\nTRACK 01 AUDIO\nINDEX 01 02:00:00\nTRACK 02 AUDIO\nINDEX 01 01:00:00\n",
       "line 5: track 2 starts at 01:00:00, not after the track above it"},
      {"FILE a.wav WAVE\nTRACK 01 AUDIO\nINDEX 00 02:00:00\nINDEX 01 01:00:00\n",
       "line 4: INDEX 1 lies before"},
      {"REM just a remark\nTITLE \"x\"\n", "it lists no TRACK"},
      {"FILE \"\" WAVE\n", "line 1: FILE names no file"},
      {"   \r\n\r\n", "the file is empty"},
  };
  for (const Case& c : cases) {
    const QString message = refusal(QByteArray(c.sheet));
    EXPECT_TRUE(
        message.startsWith(QStringLiteral("The CUE sheet \"/rips/bad.cue\" cannot be read")))
        << c.sheet << " -> " << message.toStdString();
    EXPECT_TRUE(message.contains(QString::fromUtf8(c.expected)))
        << c.sheet << " -> " << message.toStdString();
  }
}

TEST(CueHostile, BinaryHugeAndMissingFilesAreRefused) {
  QByteArray binary("FILE a.wav WAVE\nTRACK 01 AUDIO\n");
  binary.append('\0');
  binary.append("INDEX 01 00:00:00\n");
  EXPECT_TRUE(refusal(binary).contains(QStringLiteral("not a text file")));

  QByteArray noise;
  for (int i = 0; i < 4096; ++i) noise.append(static_cast<char>((i * 37 + 11) % 31 + 1));
  EXPECT_TRUE(refusal(noise).contains(QStringLiteral("not a text file")));

  testing::TempFolder folder;
  const QString huge = folder.path(QStringLiteral("huge.cue"));
  {
    QFile file(huge);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QByteArray line("REM COMMENT \"padding padding padding padding padding padding\"\n");
    for (qint64 written = 0; written <= kMaxCueSheetBytes; written += line.size()) file.write(line);
  }
  try {
    readCueSheet(huge);
    FAIL() << "a sheet over the size limit was read";
  } catch (const CueSheetError& error) {
    EXPECT_TRUE(error.message().contains(QStringLiteral("larger than 1024 KiB")));
    EXPECT_TRUE(error.message().contains(huge));
  }
  try {
    readCueSheet(folder.path(QStringLiteral("absent.cue")));
    FAIL() << "a missing sheet was read";
  } catch (const CueSheetError& error) {
    EXPECT_TRUE(error.message().contains(QStringLiteral("does not exist")));
  }
}

TEST(CueHostile, TooManyTracksAreRefused) {
  QByteArray sheet("FILE a.wav WAVE\n");
  for (int i = 1; i <= 1000; ++i)
    sheet.append(QStringLiteral("TRACK %1 AUDIO\nINDEX 01 %2:00:00\n").arg(i).arg(i).toUtf8());
  EXPECT_TRUE(refusal(sheet).contains(QStringLiteral("more than 999 tracks")));
}

}  // namespace
}  // namespace tarvex
