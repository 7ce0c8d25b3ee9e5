#pragma once

#include <QIODevice>
#include <QList>
#include <QString>
#include <cstdint>

#include "tags/CarriedTags.h"
#include "tags/ID3V2Frames.h"

namespace tarvex {

// One chapter of an ID3v2 tag (a CHAP frame): where it starts and ends in
// milliseconds of the audio, and the title its TIT2 sub-frame gives ("" when
// it has none).
struct ID3Chapter {
  QByteArray elementId;
  QString title;
  int64_t startMs = 0;
  int64_t endMs = 0;
};

// The chapters of a tag in the order its table of contents lists them: a
// top-level CTOC's entries first (following nested tables of contents), then
// any chapter no table names, in tag order. A CHAP frame too short to hold its
// times is left out. Never throws.
QList<ID3Chapter> id3ChaptersOf(const ID3V2Frames& tag);

// The chapters of the ID3v2 tag at the start of the device. Never throws.
QList<ID3Chapter> readID3Chapters(QIODevice& device);

// ID3v2.3 frames describing `chapters` in order: one CHAP each (element ids
// "chp0", "chp1", …, a TIT2 sub-frame when the title is not empty, byte
// offsets unset) and one top-level, ordered CTOC listing them all.
QList<ID3Frame> id3ChapterFrames(const QList<ID3Chapter>& chapters);

}  // namespace tarvex
