#include "tags/EdgeAudioFrame.h"

#include <QFile>

#include "tags/ID3V2Reader.h"

namespace tarvex {
namespace {

// The frame's owner identifier, with its terminating zero byte.
constexpr char kOwner[] = "Tarvex MP3 Splitter Joiner: edge audio";

QByteArray ownerPrefix() {
  return QByteArray(kOwner, sizeof(kOwner));
}

}  // namespace

ID3Frame edgeAudioFrame(const QByteArray& storedEdgeAudio) {
  ID3Frame frame;
  frame.id = QByteArrayLiteral("PRIV");
  frame.content = ownerPrefix() + storedEdgeAudio;
  return frame;
}

bool isEdgeAudioFrame(const ID3Frame& frame) {
  return frame.id == "PRIV" && frame.content.startsWith(ownerPrefix());
}

QByteArray readStoredEdgeAudio(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const ID3V2Frames tag = readID3V2Frames(file);
  for (const ID3V2Frame& frame : tag.frames) {
    if (frame.id == "PRIV" && frame.content.startsWith(ownerPrefix()))
      return frame.content.mid(ownerPrefix().size());
  }
  return {};
}

}  // namespace tarvex
