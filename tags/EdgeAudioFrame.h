#pragma once

#include <QByteArray>
#include <QString>

#include "tags/CarriedTags.h"

namespace tarvex {

// A piece written by copying frames carries the audio of its encoded edges
// as its source gave it (stored bytes made by the frame copy) in a private
// frame ("PRIV") of its ID3v2 tag, under this program's owner name. The
// frame describes the file's own frames, so pieces cut from the file never
// carry it on.
ID3Frame edgeAudioFrame(const QByteArray& storedEdgeAudio);
bool isEdgeAudioFrame(const ID3Frame& frame);

// The stored edge audio the ID3v2 tag of `path` carries, or empty bytes
// (no tag, no such frame, the file unreadable). Never throws.
QByteArray readStoredEdgeAudio(const QString& path);

}  // namespace tarvex
