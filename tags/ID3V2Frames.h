#pragma once

#include <QByteArray>
#include <QList>

namespace tarvex {

// One frame of an ID3v2 tag as the file holds it: its id (three letters in
// version 2.2), its flags (0 in 2.2) and its content with the format flags
// undone (unsynchronisation, grouping byte, data length).
struct ID3V2Frame {
  QByteArray id;
  unsigned flags = 0;
  QByteArray content;
};

// The frames of a tag in file order; majorVersion is 2, 3 or 4, or 0 when the
// device starts with no well-formed tag (and frames is empty).
struct ID3V2Frames {
  int majorVersion = 0;
  QList<ID3V2Frame> frames;
};

}  // namespace tarvex
