#include <gtest/gtest.h>
#include <QFile>

#include "config/SettingsSchema.h"
#include "tests/support/TempFolder.h"

namespace tarvex {
namespace {

using testing::readText;
using testing::TempFolder;
using testing::writeText;

class SettingsSchemaTest : public ::testing::Test {
 protected:
  QString path() const { return folder.path("Quillmere.ini"); }
  SettingsFile withContent(const QString& text) {
    writeText(path(), text);
    return SettingsFile(path());
  }
  TempFolder folder;
};

// A value for every key that differs from both of its defaults, so a key that
// is not written, or read from the wrong place, shows.
SettingsValues distinctValues() {
  SettingsValues values;
  int next = 11;
  for (const SettingSpec& spec : settingsSchema()) {
    switch (spec.type) {
      case SettingType::Integer:
        values.setNumber(spec.setting, next++);
        break;
      case SettingType::Boolean:
        values.setFlag(spec.setting, spec.missing == 0);
        break;
      case SettingType::Text:
        values.setText(spec.setting, QStringLiteral("/music/out %1/").arg(next++));
        break;
    }
  }
  return values;
}

TEST_F(SettingsSchemaTest, EveryGroupRoundTripsThroughTheFile) {
  const SettingsFile settings(path());
  const SettingsValues written = distinctValues();
  for (SettingGroup group : {SettingGroup::MainWindow, SettingGroup::DialogPath,
                             SettingGroup::Encoder, SettingGroup::Silence}) {
    StoreSettings(settings, written, group);
  }
  for (SettingGroup group : {SettingGroup::MainWindow, SettingGroup::DialogPath,
                             SettingGroup::Encoder, SettingGroup::Silence}) {
    for (SettingsReader reader : {SettingsReader::EncoderProfile, SettingsReader::SettingsDialog}) {
      const SettingsValues read = LoadSettings(settings, group, reader);
      for (const SettingSpec& spec : settingsSchema()) {
        if (spec.group != group) continue;
        if (spec.type == SettingType::Text) {
          EXPECT_EQ(read.text(spec.setting), written.text(spec.setting)) << spec.key;
        } else {
          EXPECT_EQ(read.number(spec.setting), written.number(spec.setting)) << spec.key;
        }
        // The same key through the key-by-key reader: the table's section
        // and name are where the value went.
        const auto raw = PrivateProfile(path()).readString(spec.section, spec.key);
        ASSERT_TRUE(raw.has_value()) << spec.section << "/" << spec.key;
      }
    }
  }
}

TEST_F(SettingsSchemaTest, EncoderKeysAreWrittenInTheDialogsOrderIntoANewFile) {
  const SettingsFile settings(path());
  StoreSettings(settings, DefaultButtonValues(), SettingGroup::Encoder);
  EXPECT_EQ(readText(path()),
            "[mp3]\nbitrate=9\nchannel=1\nfrequency=7\nquality=5\n"
            "[MP3VBR]\nCoding Method=0\nvbr bitrate=9\nvbr quality=5\nvbrck=1\nsemb=0\n"
            "[MP3Filt]\nchHFilt=0\nchLFilt=0\nudHFiltF=30\nudHFiltW=5\nudLFiltF=15160\n"
            "udLFiltW=750\n"
            "[MP3Expert]\nBit=1\nshort=1\nallow=0\ncomply=0\ncrc=0\nath=0\nde=0\n"
            "[MP3Prest]\npreset=0\nalt=0\nrg_prest=0\nrg_alt=0\n"
            "[wav]\nmode=0\nbit=1\nchannel=1\nfrequency=8\n"
            "[wma]\nformat=9\n"
            "[ogg]\nchannel=1\nfrequency=7\nbitrate=9\nmax bitrate=9\nmin bitrate=9\n"
            "quality=300\noggvbr=0\noggquality=0\n");
}

TEST_F(SettingsSchemaTest, MainWindowKeysGoToTheirFiveSectionsInOrder) {
  const SettingsFile settings(path());
  SettingsValues values = LoadSettings(settings, SettingGroup::MainWindow,
                                       SettingsReader::SettingsDialog, QStringLiteral("/m/"));
  StoreSettings(settings, values, SettingGroup::MainWindow);
  EXPECT_EQ(readText(path()),
            "[Function]\nChoice=0\n[Output]\nDir=/m/\nTitleNames=0\nFormat=0\n[Choice]\ntime=60\n"
            "Count=6\n[Fade]\nIn=0\nOut=0\nIntime=5\nOuttime=5\n[Sorvel]\nSkin=0\n");
}

TEST_F(SettingsSchemaTest, MissingKeysReadAsEachReadersDefault) {
  const SettingsFile settings(path());  // no file at all
  const SettingsValues encoder =
      LoadSettings(settings, SettingGroup::Encoder, SettingsReader::EncoderProfile);
  const SettingsValues dialog =
      LoadSettings(settings, SettingGroup::Encoder, SettingsReader::SettingsDialog);
  // The two MP3 qualities are the only keys the readers disagree on.
  EXPECT_EQ(encoder.number(Setting::Mp3Quality), 5);
  EXPECT_EQ(encoder.number(Setting::VbrQuality), 5);
  EXPECT_EQ(dialog.number(Setting::Mp3Quality), 4);
  EXPECT_EQ(dialog.number(Setting::VbrQuality), 4);
  for (const SettingSpec& spec : settingsSchema()) {
    if (spec.group != SettingGroup::Encoder || spec.setting == Setting::Mp3Quality ||
        spec.setting == Setting::VbrQuality) {
      continue;
    }
    EXPECT_EQ(encoder.number(spec.setting), dialog.number(spec.setting)) << spec.key;
  }
  EXPECT_EQ(encoder.number(Setting::Mp3Bitrate), 9);
  EXPECT_EQ(encoder.number(Setting::WavFrequency), 7);
  EXPECT_EQ(encoder.number(Setting::WavBits), 1);
  EXPECT_EQ(encoder.number(Setting::LowpassHz), 15160);
  EXPECT_EQ(encoder.number(Setting::OggQuality), 300);
  EXPECT_EQ(encoder.number(Setting::WmaFormat), 9);
  EXPECT_TRUE(encoder.flag(Setting::VbrHeader));
  EXPECT_TRUE(encoder.flag(Setting::BitReservoir));
  EXPECT_FALSE(encoder.flag(Setting::Crc));

  const SettingsValues main = LoadSettings(settings, SettingGroup::MainWindow,
                                           SettingsReader::SettingsDialog, QStringLiteral("/m/"));
  EXPECT_EQ(main.number(Setting::PieceSeconds), 60);
  EXPECT_EQ(main.number(Setting::PieceCount), 6);
  EXPECT_EQ(main.text(Setting::OutputDir), "/m/");
  EXPECT_FALSE(main.flag(Setting::SkinFlag));
}

TEST_F(SettingsSchemaTest, DefaultButtonDiffersFromMissingKeysInThreePlaces) {
  const SettingsValues button = DefaultButtonValues();
  const SettingsValues shown =
      LoadSettings(SettingsFile(path()), SettingGroup::Encoder, SettingsReader::SettingsDialog);
  QStringList differing;
  for (const SettingSpec& spec : settingsSchema()) {
    if (spec.group != SettingGroup::Encoder) continue;
    if (button.number(spec.setting) != shown.number(spec.setting)) differing << spec.key;
  }
  EXPECT_EQ(differing, QStringList({"quality", "vbr quality", "frequency"}));
  EXPECT_EQ(button.number(Setting::Mp3Quality), 5);
  EXPECT_EQ(button.number(Setting::VbrQuality), 5);
  EXPECT_EQ(button.number(Setting::WavFrequency), 8);  // 48000 Hz
}

TEST_F(SettingsSchemaTest, StoredTextsFollowTheValueEncodings) {
  const SettingsFile settings = withContent(
      "[MP3VBR]\nvbrck=0\nsemb=2\n[mp3]\nbitrate=0x0A\nquality=best\n"
      "[MP3EXPERT]\nCRC=-1\n[ogg]\nquality=  700 \n");
  const SettingsValues values =
      LoadSettings(settings, SettingGroup::Encoder, SettingsReader::SettingsDialog);
  EXPECT_FALSE(values.flag(Setting::VbrHeader));
  EXPECT_TRUE(values.flag(Setting::VbrEnforceMinBitrate)) << "any non-zero value is true";
  EXPECT_EQ(values.number(Setting::Mp3Bitrate), 10) << "hexadecimal";
  EXPECT_EQ(values.number(Setting::Mp3Quality), 4) << "not a number: the dialog's default";
  EXPECT_TRUE(values.flag(Setting::Crc)) << "names match without regard to case";
  EXPECT_EQ(values.number(Setting::OggQuality), 700);
}

TEST_F(SettingsSchemaTest, ALoadReadsTheFileOnceAndSeesLaterEdits) {
  const SettingsFile settings = withContent("[wma]\nformat=3\n");
  const int before = settings.fileReads();
  const SettingsValues first =
      LoadSettings(settings, SettingGroup::Encoder, SettingsReader::EncoderProfile);
  EXPECT_EQ(settings.fileReads() - before, 1);
  EXPECT_EQ(first.number(Setting::WmaFormat), 3);

  // Nothing is cached between loads: a hand edit shows at the next one.
  writeText(path(), "[wma]\nformat=12\n");
  const SettingsValues second =
      LoadSettings(settings, SettingGroup::Encoder, SettingsReader::EncoderProfile);
  EXPECT_EQ(settings.fileReads() - before, 2);
  EXPECT_EQ(second.number(Setting::WmaFormat), 12);
}

TEST_F(SettingsSchemaTest, SilenceSearchKeysHaveTheirOwnSectionAndDefaults) {
  const SettingsFile settings(path());
  const SettingsValues missing =
      LoadSettings(settings, SettingGroup::Silence, SettingsReader::SettingsDialog);
  EXPECT_EQ(missing.number(Setting::SilenceThresholdDb), -40);
  EXPECT_EQ(missing.number(Setting::SilenceMinimumMs), 1000);
  StoreSettings(settings, missing, SettingGroup::Silence);
  EXPECT_EQ(readText(path()), "[Silence]\nThreshold=-40\nLength=1000\n");
}

TEST_F(SettingsSchemaTest, WritesKeepUnknownSectionsKeysAndComments) {
  const QString original =
      "; written by hand\n[Plugins]\nlast=/opt/x\n\n[mp3]\n; keep me\nbitrate=3\nextra=yes\n\n"
      "[ogg]\nchannel=0\n";
  const SettingsFile settings = withContent(original);
  SettingsValues values = DefaultButtonValues();
  values.setNumber(Setting::Mp3Bitrate, 12);
  StoreSettings(settings, values, SettingGroup::Encoder);
  const QString after = readText(path());
  EXPECT_TRUE(
      after.startsWith("; written by hand\n[Plugins]\nlast=/opt/x\n\n[mp3]\n; keep me\n"
                       "bitrate=12\nextra=yes\n"))
      << after.toStdString();
  EXPECT_TRUE(after.contains("[ogg]\nchannel=1\n")) << after.toStdString();
  EXPECT_EQ(after.count("[mp3]"), 1);
  EXPECT_EQ(LoadSettings(settings, SettingGroup::Encoder, SettingsReader::EncoderProfile)
                .number(Setting::WavFrequency),
            8);
}

TEST_F(SettingsSchemaTest, ARefusedWriteNamesTheFile) {
  writeText(path(), "[mp3]\nbitrate=3\n");
  QFile::setPermissions(path(), QFile::ReadOwner);
  const SettingsFile settings(path());
  try {
    StoreSettings(settings, DefaultButtonValues(), SettingGroup::Encoder);
    FAIL() << "a read-only file was written";
  } catch (const Error& error) {
    EXPECT_EQ(error.message(), "Unable to write to Quillmere.ini");
  }
  EXPECT_EQ(readText(path()), "[mp3]\nbitrate=3\n");
}

}  // namespace
}  // namespace tarvex
