#include "tests/support/CarriedTagFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtEndian>

#include "tests/support/OutsideTool.h"

namespace tarvex::testing {
namespace {

// The Python that has mutagen: the system's (the one mid3v2 runs with).
QString mutagenPython() {
  const QString system = QStringLiteral("/usr/bin/python3");
  return QFileInfo::exists(system) ? system : QStringLiteral("python3");
}

constexpr const char* kListing = R"(
import sys, hashlib, base64
import mutagen
from mutagen.flac import Picture
f = mutagen.File(sys.argv[1])
lines = []
if f is not None and f.tags is not None:
    if hasattr(f.tags, 'getall'):
        for frame in f.tags.values():
            if frame.FrameID == 'APIC':
                lines.append('PICTURE:%d=%s %s' % (frame.type, frame.mime, hashlib.sha1(frame.data).hexdigest()))
            elif frame.FrameID == 'PRIV':
                lines.append('PRIV:%s=%s' % (frame.owner, hashlib.sha1(frame.data).hexdigest()))
            else:
                text = getattr(frame, 'text', None)
                if isinstance(text, list):
                    text = '/'.join(str(value) for value in text)
                elif not isinstance(text, str):
                    text = frame.pprint().split('=', 1)[-1]
                lines.append('%s=%s' % (frame.HashKey, text))
    else:
        for key, value in f.tags:
            if key.upper() == 'METADATA_BLOCK_PICTURE':
                p = Picture(base64.b64decode(value))
                lines.append('PICTURE:%d=%s %s' % (p.type, p.mime, hashlib.sha1(p.data).hexdigest()))
            else:
                lines.append('%s=%s' % (key.upper(), value))
print('\n'.join(sorted(lines)))
)";

void appendBigEndian(QByteArray& out, quint32 value) {
  char bytes[4];
  qToBigEndian(value, bytes);
  out.append(bytes, 4);
}

}  // namespace

QStringList mutagenTagLines(const QString& path) {
  const QString listing =
      runOutsideTool(mutagenPython(), {"-c", QString::fromLatin1(kListing), path});
  return listing.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QByteArray smallPng(const QString& folder) {
  const QString path = folder + QStringLiteral("/cover.png");
  runOutsideTool(QStringLiteral("ffmpeg"), {"-v", "error", "-y", "-f", "lavfi", "-i",
                                            "color=c=orange:s=12x10", "-frames:v", "1", path});
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void tagRichMp3(const QString& path, const QString& png) {
  runOutsideTool(QStringLiteral("mid3v2"),
                 {"--TIT2", "Whole Song", "--TPE1",    "Artist",
                  "--TALB", "Album",      "--TDRC",    "2021",
                  "--TCON", "Jazz",       "--TRCK",    "7/12",
                  "--TPOS", "1/2",        "--TCOM",    "Dvořák",
                  "--TXXX", "MOOD:calm",  "--TXXX",    "REPLAYGAIN_TRACK_GAIN:-6.20 dB",
                  "--TLEN", "4321",       "--USLT",    "la la la",
                  "-c",     "Liner note", "--picture", png + ":Cover:3:image/png",
                  path});
}

QList<QByteArray> richVorbisComments(const QByteArray& png) {
  QByteArray block;
  appendBigEndian(block, 3);  // front cover
  const QByteArray mime("image/png");
  appendBigEndian(block, static_cast<quint32>(mime.size()));
  block.append(mime);
  const QByteArray description("Cover");
  appendBigEndian(block, static_cast<quint32>(description.size()));
  block.append(description);
  for (quint32 value : {12u, 10u, 24u, 0u}) appendBigEndian(block, value);
  appendBigEndian(block, static_cast<quint32>(png.size()));
  block.append(png);
  return {"TITLE=Whole Song",
          "ARTIST=Artist",
          "ALBUM=Album",
          "DATE=2021",
          "GENRE=Jazz",
          "TRACKNUMBER=7",
          "TRACKTOTAL=12",
          "DISCNUMBER=1",
          "COMPOSER=Dvo\xC5\x99\xC3\xA1k",
          "COMMENT=Liner note",
          "MOOD=calm",
          "REPLAYGAIN_TRACK_GAIN=-6.20 dB",
          "METADATA_BLOCK_PICTURE=" + block.toBase64()};
}

QStringList expectedPieceLines(const QStringList& sourceLines, const QString& track) {
  QStringList expected;
  for (const QString& line : sourceLines) {
    const QString key = line.section(QLatin1Char('='), 0, 0).toUpper();
    if (key == QLatin1String("TLEN") || key.contains(QLatin1String("REPLAYGAIN")) ||
        key == QLatin1String("TRACKTOTAL") || key == QLatin1String("TRCK") ||
        key == QLatin1String("TRACKNUMBER")) {
      continue;
    }
    expected.append(line);
  }
  const bool id3 = sourceLines.filter(QLatin1String("TIT2=")).size() > 0;
  expected.append((id3 ? QStringLiteral("TRCK=") : QStringLiteral("TRACKNUMBER=")) + track);
  expected.sort();
  return expected;
}

}  // namespace tarvex::testing
