#include "tags/GenreNames.h"

#include <QRegularExpression>

namespace tarvex {

const QStringList& GenreNames() {
  static const QStringList names = {
      // 0 - 79: the ID3v1 list
      "Blues", "Classic Rock", "Country", "Dance", "Disco", "Funk", "Grunge", "Hip-Hop", "Jazz",
      "Metal", "New Age", "Oldies", "Other", "Pop", "R&B", "Rap", "Reggae", "Rock", "Techno",
      "Industrial", "Alternative", "Ska", "Death Metal", "Pranks", "Soundtrack", "Euro-Techno",
      "Ambient", "Trip-Hop", "Vocal", "Jazz+Funk", "Fusion", "Trance", "Classical", "Instrumental",
      "Acid", "House", "Game", "Sound Clip", "Gospel", "Noise", "Alternative Rock", "Bass", "Soul",
      "Punk", "Space", "Meditative", "Instrumental Pop", "Instrumental Rock", "Ethnic", "Gothic",
      "Darkwave", "Techno-Industrial", "Electronic", "Pop-Folk", "Eurodance", "Dream",
      "Southern Rock", "Comedy", "Cult", "Gangsta", "Top 40", "Christian Rap", "Pop/Funk", "Jungle",
      "Native US", "Cabaret", "New Wave", "Psychedelic", "Rave", "Showtunes", "Trailer", "Lo-Fi",
      "Tribal", "Acid Punk", "Acid Jazz", "Polka", "Retro", "Musical", "Rock & Roll", "Hard Rock",
      // 80 - 147: the Winamp extensions
      "Folk", "Folk-Rock", "National Folk", "Swing", "Fast Fusion", "Bebop", "Latin", "Revival",
      "Celtic", "Bluegrass", "Avant-garde", "Gothic Rock", "Progressive Rock", "Psychedelic Rock",
      "Symphonic Rock", "Slow Rock", "Big Band", "Chorus", "Easy Listening", "Acoustic", "Humor",
      "Speech", "Chanson", "Opera", "Chamber Music", "Sonata", "Symphony", "Booty Bass", "Primus",
      "Porn Groove", "Satire", "Slow Jam", "Club", "Tango", "Samba", "Folklore", "Ballad",
      "Power Ballad", "Rhythmic Soul", "Freestyle", "Duet", "Punk Rock", "Drum Solo", "A capella",
      "Euro-House", "Dance Hall", "Goa", "Drum & Bass", "Club-House", "Hardcore", "Terror", "Indie",
      "Britpop", "Negerpunk", "Polsk Punk", "Beat", "Christian Gangsta", "Heavy Metal",
      "Black Metal", "Crossover", "Contemporary C", "Christian Rock", "Merengue", "Salsa",
      "Thrash Metal", "Anime", "JPop", "SynthPop"};
  return names;
}

namespace {

QString genreByNumber(const QString& digits) {
  bool ok = false;
  const int number = digits.toInt(&ok);
  if (!ok || number < 0 || number >= GenreNames().size()) return {};
  return GenreNames()[number];
}

QString genreByReference(const QString& reference) {
  if (reference == QLatin1String("RX")) return QStringLiteral("Remix");
  if (reference == QLatin1String("CR")) return QStringLiteral("Cover");
  return genreByNumber(reference);
}

}  // namespace

QString genreFromID3Text(const QString& text) {
  static const QRegularExpression bareNumber(QStringLiteral("^\\d{1,3}$"));
  if (bareNumber.match(text).hasMatch()) {
    const QString name = genreByNumber(text);
    return name.isEmpty() ? text : name;
  }
  // A run of "(reference)" groups, then the refinement text.
  static const QRegularExpression reference(QStringLiteral("\\((\\d{1,3}|RX|CR)\\)"));
  QString firstName;
  qsizetype position = 0;
  while (true) {
    const QRegularExpressionMatch match =
        reference.match(text, position, QRegularExpression::NormalMatch,
                        QRegularExpression::AnchorAtOffsetMatchOption);
    if (!match.hasMatch()) break;
    const QString name = genreByReference(match.captured(1));
    if (name.isEmpty()) return text;  // an unknown number: keep what was written
    if (firstName.isEmpty()) firstName = name;
    position = match.capturedEnd(0);
  }
  QString refinement = text.mid(position);
  if (refinement.startsWith(QLatin1String("(("))) refinement.remove(0, 1);
  if (!refinement.isEmpty()) return refinement;
  return firstName.isEmpty() ? text : firstName;
}

QString genreFromID3V1Byte(unsigned char number) {
  return number < GenreNames().size() ? GenreNames()[number] : QString();
}

}  // namespace tarvex
