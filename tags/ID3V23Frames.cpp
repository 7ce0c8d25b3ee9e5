#include "tags/ID3V23Frames.h"

#include <QStringList>
#include <optional>
#include <utility>

#include "tags/ID3FrameIds.h"
#include "tags/ID3TextCodec.h"

namespace tarvex {
namespace {

// Version 2.2's three-letter ids with their 2.3 names.
constexpr std::pair<const char*, const char*> kV22Names[] = {
    {"TT1", "TIT1"}, {"TT2", "TIT2"}, {"TT3", "TIT3"}, {"TP1", "TPE1"}, {"TP2", "TPE2"},
    {"TP3", "TPE3"}, {"TP4", "TPE4"}, {"TCM", "TCOM"}, {"TXT", "TEXT"}, {"TLA", "TLAN"},
    {"TCO", "TCON"}, {"TAL", "TALB"}, {"TPA", "TPOS"}, {"TRK", "TRCK"}, {"TRC", "TSRC"},
    {"TYE", "TYER"}, {"TDA", "TDAT"}, {"TIM", "TIME"}, {"TRD", "TRDA"}, {"TMT", "TMED"},
    {"TFT", "TFLT"}, {"TBP", "TBPM"}, {"TCR", "TCOP"}, {"TPB", "TPUB"}, {"TEN", "TENC"},
    {"TSS", "TSSE"}, {"TOF", "TOFN"}, {"TLE", "TLEN"}, {"TSI", "TSIZ"}, {"TDY", "TDLY"},
    {"TKE", "TKEY"}, {"TOT", "TOAL"}, {"TOA", "TOPE"}, {"TOL", "TOLY"}, {"TOR", "TORY"},
    {"TXX", "TXXX"}, {"TCP", "TCMP"}, {"TST", "TSOT"}, {"TSP", "TSOP"}, {"TSA", "TSOA"},
    {"TS2", "TSO2"}, {"TSC", "TSOC"}, {"WAF", "WOAF"}, {"WAR", "WOAR"}, {"WAS", "WOAS"},
    {"WCM", "WCOM"}, {"WCP", "WCOP"}, {"WPB", "WPUB"}, {"WXX", "WXXX"}, {"IPL", "IPLS"},
    {"ETC", "ETCO"}, {"MLL", "MLLT"}, {"STC", "SYTC"}, {"ULT", "USLT"}, {"SLT", "SYLT"},
    {"COM", "COMM"}, {"RVA", "RVAD"}, {"EQU", "EQUA"}, {"REV", "RVRB"}, {"PIC", "APIC"},
    {"GEO", "GEOB"}, {"CNT", "PCNT"}, {"POP", "POPM"}, {"BUF", "RBUF"}, {"CRA", "AENC"},
    {"LNK", "LINK"}, {"UFI", "UFID"}, {"MCI", "MCDI"}};

// Version 2.4 frames that 2.3 cannot hold.
constexpr const char* kV24Only[] = {"RVA2", "EQU2", "ASPI", "SEEK", "SIGN", "TDTG"};

// Frame ids are capital letters and digits; anything else is damage.
bool isFrameId(const QByteArray& id) {
  for (const char c : id) {
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  }
  return !id.isEmpty();
}

// The 2.3 name of a frame, or empty when it has none.
QByteArray v23Name(const QByteArray& id, int majorVersion) {
  if (!isFrameId(id)) return {};
  if (majorVersion == 2) {
    for (const auto& [v22, v23] : kV22Names) {
      if (id == v22) return v23;
    }
    return {};
  }
  if (majorVersion == 4) {
    for (const char* only : kV24Only) {
      if (id == only) return {};
    }
    if (id == "TDOR") return "TORY";
    if (id == "TIPL" || id == "TMCL") return "IPLS";
  }
  return id;
}

// A picture's 2.2 image format ("JPG", "PNG") as a MIME type.
QByteArray mimeOfImageFormat(const QByteArray& format) {
  const QByteArray lower = format.toLower();
  if (lower == "jpg") return "image/jpeg";
  if (lower == "-->") return "-->";  // a link to the picture
  return "image/" + lower;
}

class FrameWriter {
 public:
  explicit FrameWriter(const QStringList& texts) : encoding_(id3V23EncodingFor(texts)) {
    content_.append(encoding_);
  }
  void text(const QString& text, bool terminated = true) {
    content_.append(encodeID3String(text, encoding_, terminated));
  }
  void raw(const QByteArray& bytes) { content_.append(bytes); }
  QByteArray content() const { return content_; }

 private:
  char encoding_;
  QByteArray content_;
};

// The content as 2.3 writes it, or nothing when it cannot be converted.
std::optional<QByteArray> convertContent(const QByteArray& name, const QByteArray& id,
                                         const QByteArray& content, int majorVersion) {
  if (content.isEmpty()) return std::nullopt;
  const auto encoding = static_cast<unsigned char>(content[0]);
  const bool textual = name.startsWith('T') || name == "COMM" || name == "USLT" || name == "USER" ||
                       name == "APIC" || name == "GEOB" || name == "WXXX" || name == "IPLS";
  if (!textual) {
    // Frames whose text is in an encoding 2.3 lacks, and whose layout is not
    // known here, cannot be rewritten faithfully.
    const bool encoded = name == "OWNE" || name == "COMR" || name == "SYLT";
    if (encoded && encoding > 1) return std::nullopt;
    return content;
  }
  if (encoding > 3) return std::nullopt;
  if (name == "COMM" || name == "USLT" || name == "USER") {
    if (content.size() < 4) return std::nullopt;
    QStringList strings = decodeID3Strings(content, 4, encoding);
    if (name != "USER") {
      while (strings.size() < 2) strings.append(QString());
      strings = QStringList{strings[0], strings.mid(1).join(QLatin1Char('/'))};
    }
    if (strings.isEmpty() || strings.back().isEmpty()) return std::nullopt;  // no text
    FrameWriter frame(strings);
    frame.raw(content.mid(1, 3));  // language
    for (qsizetype i = 0; i < strings.size(); ++i) frame.text(strings[i], i + 1 < strings.size());
    return frame.content();
  }
  if (name == "APIC" || name == "GEOB") {
    // A MIME type (2.2 pictures: a three-letter image format), a picture type
    // for pictures and a file name for objects, a description, the data.
    qsizetype position = 1;
    QByteArray mime;
    if (majorVersion == 2 && name == "APIC") {
      mime = mimeOfImageFormat(content.mid(1, 3));
      position = 4;
    } else {
      const qsizetype end = id3TerminatorAt(content, 1, 0);
      mime = content.mid(1, end - 1);
      position = end + 1;
    }
    QByteArray pictureType;
    QString fileName;
    if (name == "APIC") {
      if (position >= content.size()) return std::nullopt;
      pictureType = content.mid(position, 1);
      position += 1;
    } else {
      const qsizetype end = id3TerminatorAt(content, position, encoding);
      fileName = decodeID3String(content.mid(position, end - position), encoding);
      position = end + id3TerminatorLength(encoding);
    }
    const qsizetype end = id3TerminatorAt(content, position, encoding);
    if (end >= content.size()) return std::nullopt;  // no data after the description
    const QString description = decodeID3String(content.mid(position, end - position), encoding);
    FrameWriter frame({fileName, description});
    frame.raw(mime + '\0');
    if (name == "APIC") {
      frame.raw(pictureType);
    } else {
      frame.text(fileName);
    }
    frame.text(description);
    frame.raw(content.mid(end + id3TerminatorLength(encoding)));
    return frame.content();
  }
  if (name == "WXXX") {
    const qsizetype end = id3TerminatorAt(content, 1, encoding);
    const QString description = decodeID3String(content.mid(1, end - 1), encoding);
    FrameWriter frame({description});
    frame.text(description);
    frame.raw(content.mid(end + id3TerminatorLength(encoding)));
    return frame.content();
  }
  QStringList strings = decodeID3Strings(content, 1, encoding);
  if (name == "IPLS") {
    // Involved people: name pairs, each string terminated.
    if (strings.isEmpty()) return std::nullopt;
    FrameWriter frame(strings);
    for (const QString& text : strings) frame.text(text);
    return frame.content();
  }
  if (name == "TXXX") {
    while (strings.size() < 2) strings.append(QString());
    strings = QStringList{strings[0], strings.mid(1).join(QLatin1Char('/'))};
    if (strings[1].isEmpty()) return std::nullopt;  // no value
    FrameWriter frame(strings);
    frame.text(strings[0]);
    frame.text(strings[1], false);
    return frame.content();
  }
  // A text frame; 2.4 keeps several values apart with terminators.
  QString value = strings.join(QLatin1Char('/'));
  if (id == "TDOR") value = value.left(4);  // the original release year
  if (value.isEmpty()) return std::nullopt;
  FrameWriter frame({value});
  frame.text(value, false);
  return frame.content();
}

}  // namespace

QList<ID3Frame> otherID3V23Frames(const ID3V2Frames& tag, qsizetype fileComment) {
  QList<ID3Frame> result;
  const bool threeLetterIds = tag.majorVersion == 2;
  // The flag a tag sets on frames to be dropped once the audio is altered.
  const unsigned audioAlteredFlag = tag.majorVersion == 4 ? 0x2000 : 0x4000;
  for (qsizetype i = 0; i < tag.frames.size(); ++i) {
    const ID3V2Frame& frame = tag.frames[i];
    if (i == fileComment) continue;
    const int slot = id3FrameSlot(frame.id, threeLetterIds);
    if (slot >= 0 && slot != kCommentSlot) continue;
    const QByteArray name = v23Name(frame.id, tag.majorVersion);
    if (name.isEmpty()) continue;
    const std::optional<QByteArray> content =
        convertContent(name, frame.id, frame.content, tag.majorVersion);
    if (!content) continue;
    result.append({name, *content, (frame.flags & audioAlteredFlag) != 0});
  }
  return result;
}

}  // namespace tarvex
