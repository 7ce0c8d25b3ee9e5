#include <gtest/gtest.h>
#include <taglib/asffile.h>
#include <taglib/asftag.h>

#include <QBuffer>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>

#include "tags/AsfFallbackParser.h"
#include "tags/TagError.h"
#include "tags/WmaAttributes.h"
#include "tests/tags/TestFiles.h"

namespace tarvex {
namespace {

quint64 littleEndian(const QByteArray& bytes, qsizetype at, int length) {
  quint64 value = 0;
  for (int i = length - 1; i >= 0; --i) value = (value << 8) | static_cast<uchar>(bytes[at + i]);
  return value;
}

struct AsfLayout {
  QList<QPair<QByteArray, QByteArray>> headerObjects;  // GUID, whole object
  QByteArray afterHeader;                              // data object and indexes
};

AsfLayout asfLayout(const QByteArray& file) {
  AsfLayout layout;
  const quint64 headerSize = littleEndian(file, 16, 8);
  qsizetype position = 30;
  while (position + 24 <= static_cast<qsizetype>(headerSize)) {
    const auto size = static_cast<qsizetype>(littleEndian(file, position + 16, 8));
    if (size < 24) break;
    layout.headerObjects.append({file.mid(position, 16), file.mid(position, size)});
    position += size;
  }
  layout.afterHeader = file.mid(static_cast<qsizetype>(headerSize));
  return layout;
}

// The objects inside a header extension object (after its 46-byte head).
QList<QByteArray> extensionObjects(const QByteArray& extension) {
  QList<QByteArray> objects;
  qsizetype position = 46;
  while (position + 24 <= extension.size()) {
    const auto size = static_cast<qsizetype>(littleEndian(extension, position + 16, 8));
    if (size < 24) break;
    objects.append(extension.mid(position, size));
    position += size;
  }
  return objects;
}

const QByteArray kHeaderExtension = QByteArray::fromHex("B503BF5F2EA9CF118EE300C00C205365");
const QByteArray kContentDescription = QByteArray::fromHex("3326B2758E66CF11A6D900AA0062CE6C");
const QByteArray kExtendedContentDescription =
    QByteArray::fromHex("40A4D0D207E3D21197F000A0C95EA850");
const QByteArray kFileProperties = QByteArray::fromHex("A1DCAB8C47A9CF118EE400C00C205365");
constexpr qsizetype kRecordedFileSizeAt = 40;

QByteArray fileProperties(const AsfLayout& layout) {
  for (const auto& [guid, object] : layout.headerObjects)
    if (guid == kFileProperties) return object;
  return {};
}

class WmaAttributes : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  QString path = dir.filePath("piece_1.wma");
  void SetUp() override { testing::makeWma(path, 0.5); }
};

TEST_F(WmaAttributes, WrittenAttributesReadBackAndTheRestIsUnchanged) {
  const AsfLayout before = asfLayout(testing::readBytes(path));
  ASSERT_GT(before.afterHeader.size(), 1000);

  WmaTagRecord record;
  record.title = QString::fromUtf16(u"Заголовок");
  record.artist = "Artist";
  record.album = "Album";
  record.year = "1999";
  record.genre = "Pop";
  record.description = "Described";
  record.trackNumber = 4;
  EXPECT_TRUE(WriteWmaAttributes(path, record));

  WmaTagRecord read;
  ReadWmaAttributes(path, read);
  EXPECT_TRUE(read.readFlag);
  EXPECT_EQ(read.title, record.title);
  EXPECT_EQ(read.artist, record.artist);
  EXPECT_EQ(read.album, record.album);
  EXPECT_EQ(read.year, record.year);
  EXPECT_EQ(read.genre, record.genre);
  EXPECT_EQ(read.description, record.description);
  EXPECT_EQ(read.trackNumber, 4);

  const AsfLayout after = asfLayout(testing::readBytes(path));
  EXPECT_EQ(after.afterHeader, before.afterHeader);
  for (const auto& [guid, object] : before.headerObjects) {
    if (guid == kContentDescription || guid == kExtendedContentDescription) continue;
    bool kept = false;
    for (const auto& [afterGuid, afterObject] : after.headerObjects) {
      if (afterGuid != guid) continue;
      if (guid == kHeaderExtension) {
        // The ASF writer may add empty metadata objects; the ones there stay.
        const QList<QByteArray> now = extensionObjects(afterObject);
        kept = true;
        for (const QByteArray& inner : extensionObjects(object)) kept = kept && now.contains(inner);
      } else if (guid == kFileProperties) {
        // Only the recorded file size follows the new header.
        kept = afterObject.left(kRecordedFileSizeAt) == object.left(kRecordedFileSizeAt) &&
               afterObject.mid(kRecordedFileSizeAt + 8) == object.mid(kRecordedFileSizeAt + 8);
      } else {
        kept = kept || afterObject == object;
      }
    }
    EXPECT_TRUE(kept) << "header object changed: " << guid.toHex().toStdString();
  }
  EXPECT_EQ(testing::folderEntries(dir.path()), QStringList{"piece_1.wma"});
}

// The header grows with the attributes; the size the file records for
// itself follows, as it was right before.
TEST_F(WmaAttributes, TheRecordedFileSizeFollowsTheRebuiltHeader) {
  const QByteArray before = testing::readBytes(path);
  ASSERT_EQ(littleEndian(fileProperties(asfLayout(before)), kRecordedFileSizeAt, 8),
            static_cast<quint64>(before.size()));
  WmaTagRecord record;
  record.title = QString(100, QChar(u'Ж'));
  record.description = QString(300, QChar('d'));
  WriteWmaAttributes(path, record);
  const QByteArray after = testing::readBytes(path);
  ASSERT_GT(after.size(), before.size());
  EXPECT_EQ(littleEndian(fileProperties(asfLayout(after)), kRecordedFileSizeAt, 8),
            static_cast<quint64>(after.size()));
}

TEST_F(WmaAttributes, EmptyTextsAreWrittenAsEmptyValues) {
  WmaTagRecord old;
  old.artist = "Old artist";
  old.genre = "Old genre";
  old.trackNumber = 9;
  WriteWmaAttributes(path, old);
  WmaTagRecord onlyTitle;
  onlyTitle.title = "Only";
  WriteWmaAttributes(path, onlyTitle);

  TagLib::ASF::File file(QFile::encodeName(path).constData());
  ASSERT_TRUE(file.isValid());
  TagLib::ASF::Tag* tag = file.tag();
  EXPECT_EQ(tag->title(), "Only");
  EXPECT_TRUE(tag->artist().isEmpty());
  ASSERT_TRUE(tag->contains("WM/Genre"));
  EXPECT_TRUE(tag->attribute("WM/Genre").front().toString().isEmpty());
  ASSERT_TRUE(tag->contains("WM/TrackNumber"));
  EXPECT_EQ(tag->attribute("WM/TrackNumber").front().type(), TagLib::ASF::Attribute::DWordType);
  EXPECT_EQ(tag->attribute("WM/TrackNumber").front().toUInt(), 0u);
}

TEST_F(WmaAttributes, TrackFallsBackToWmTrackWhenTrackNumberIsZero) {
  {
    TagLib::ASF::File file(QFile::encodeName(path).constData());
    ASSERT_TRUE(file.isValid());
    file.tag()->setAttribute("WM/TrackNumber", TagLib::ASF::Attribute(0u));
    file.tag()->setAttribute("WM/Track", TagLib::ASF::Attribute(5u));
    ASSERT_TRUE(file.save());
  }
  WmaTagRecord read;
  ReadWmaAttributes(path, read);
  EXPECT_EQ(read.trackNumber, 5);
}

TEST_F(WmaAttributes, TextsAreCutToTheirFieldWidths) {
  WmaTagRecord record;
  record.title = QString(300, 't');
  record.genre = QString(40, 'g');
  record.description = QString(400, 'd');
  record.album = QString(200, QChar(0xD83D)).replace(QChar(0xD83D), QString::fromUtf16(u"😀"));
  WriteWmaAttributes(path, record);
  WmaTagRecord read;
  ReadWmaAttributes(path, read);
  EXPECT_EQ(read.title, QString(127, 't'));
  EXPECT_EQ(read.genre, QString(32, 'g'));
  EXPECT_EQ(read.description, QString(254, 'd'));
  EXPECT_EQ(read.album, QString::fromUtf16(u"😀").repeated(63));
}

TEST_F(WmaAttributes, ReadingLeavesTheFileAndANonWmaRecordAlone) {
  const QByteArray bytes = testing::readBytes(path);
  QFile::setPermissions(path, QFileDevice::ReadOwner);
  WmaTagRecord read;
  ReadWmaAttributes(path, read);
  EXPECT_TRUE(read.readFlag);
  EXPECT_EQ(testing::readBytes(path), bytes);
  EXPECT_FALSE(QFile::permissions(path).testFlag(QFileDevice::WriteOwner));

  const QString other = dir.filePath("other.wma");
  testing::writeBytes(other, QByteArray(3000, 'z'));
  WmaTagRecord untouched;
  untouched.title = "Keep";
  ReadWmaAttributes(other, untouched);
  ReadWmaAttributes(dir.filePath("missing.wma"), untouched);
  EXPECT_FALSE(untouched.readFlag);
  EXPECT_EQ(untouched.title, "Keep");
  EXPECT_THROW(WriteWmaAttributes(other, untouched), TagError);
  EXPECT_EQ(testing::readBytes(other), QByteArray(3000, 'z'));
}

// A file in the layout the fallback parser reads.
QByteArray guid(const char* hex) {
  return QByteArray::fromHex(hex);
}
QByteArray le(quint64 value, int bytes) {
  QByteArray out;
  for (int i = 0; i < bytes; ++i) out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
  return out;
}
QByteArray utf16(const QString& text) {
  QByteArray out;
  for (QChar c : text) out.append(le(c.unicode(), 2));
  return out;
}
QByteArray descriptor(int type, const QString& name, const QString& value) {
  return le(type, 1) + QByteArray(4, '\0') + le(name.size(), 2) + le(value.size(), 2) +
         utf16(name) + utf16(value);
}
QByteArray fallbackFile(const QList<QByteArray>& descriptors, quint64 objectSizeOverride = 0) {
  QByteArray body = le(descriptors.size(), 2);
  for (const QByteArray& d : descriptors) body.append(d);
  const quint64 objectSize = objectSizeOverride ? objectSizeOverride : body.size() + 24;
  const QByteArray other =
      guid("00112233445566778899AABBCCDDEEFF") + le(40, 8) + QByteArray(16, 'o');
  const QByteArray object = guid("D529E2D6DA35D111903400A0C90349BE") + le(objectSize, 8) + body;
  const QByteArray objects = other + object;
  return guid("D129E2D6DA35D111903400A0C90349BE") + le(objects.size(), 8) + objects;
}

WmaTagRecord parseFallback(const QByteArray& bytes, WmaTagRecord record = {}) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  parseAsfFallback(buffer, record);
  return record;
}

TEST(AsfFallback, ReadsDescriptorsByType) {
  const WmaTagRecord read = parseFallback(fallbackFile(
      {descriptor(1, "", "Artist"), descriptor(2, "", "Title"), descriptor(3, "", "Three"),
       descriptor(4, "", "Desc"), descriptor(100, "wm/track", "12"),
       descriptor(101, "WM/Year", "1998"), descriptor(120, "WM/AlbumTitle", "Album"),
       descriptor(50, "WM/Genre", "ignored"), descriptor(2, "", QString(600, 'L'))}));
  EXPECT_TRUE(read.readFlag);
  EXPECT_EQ(read.artist, "Artist");
  EXPECT_EQ(read.title, QString(127, 'L'));  // 511 kept, then cut to the field
  EXPECT_EQ(read.typeThreeText, "Three");
  EXPECT_EQ(read.description, "Desc");
  EXPECT_EQ(read.trackNumber, 12);
  EXPECT_EQ(read.year, "1998");
  EXPECT_EQ(read.album, "Album");
  EXPECT_TRUE(read.genre.isEmpty());
}

TEST(AsfFallback, MalformedInputKeepsWhatWasFoundOrTheCallersRecord) {
  WmaTagRecord callers;
  callers.title = "Caller";
  const WmaTagRecord notAsf = parseFallback(QByteArray(100, 'x'), callers);
  EXPECT_EQ(notAsf.title, "Caller");
  EXPECT_FALSE(notAsf.readFlag);

  // A descriptor list cut short: the first descriptor is kept.
  QByteArray cut = fallbackFile({descriptor(2, "", "First"), descriptor(1, "", "Second")});
  cut.chop(4);
  EXPECT_EQ(parseFallback(cut).title, "First");

  // An object claiming more than the header holds ends the parse.
  const WmaTagRecord lying =
      parseFallback(fallbackFile({descriptor(2, "", "T")}, 1u << 30), callers);
  EXPECT_TRUE(lying.readFlag);
  EXPECT_TRUE(lying.title.isEmpty());
  EXPECT_EQ(parseFallback(fallbackFile({descriptor(100, "WM/Track", "x5")})).trackNumber, 0);
}

}  // namespace
}  // namespace tarvex
