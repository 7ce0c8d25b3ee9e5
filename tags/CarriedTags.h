#pragma once

#include <QByteArray>
#include <QList>

namespace tarvex {

// One ID3v2.3 frame as it is written: its four-letter id and its content
// (flags are written as zero). tiedToAudio: the frame's own tag asked for it
// to be dropped once the audio is altered (its file alter preservation flag).
struct ID3Frame {
  QByteArray id;
  QByteArray content;
  bool tiedToAudio = false;
};

// One WMA attribute as the ASF header holds it: its name, its ASF data type
// (0 text, 1 bytes, 2 bool, 3 dword, 4 qword, 5 word) and its value: text as
// UTF-8, numbers and truth values as decimal digits, bytes (pictures
// included) as they are.
struct WmaAttribute {
  QByteArray name;
  int type = 0;
  QByteArray value;
};

// What a source's tag holds beyond the fields the program shows, carried to
// every piece cut from it: pictures, composers, lyrics, disc numbers, user
// texts, and so on. Only what still holds for a piece is kept here; frames
// that describe the whole file (its length, its loudness, its chapters, its
// encoder, where its frames lie) are left out when the source is read.
struct CarriedTags {
  QList<ID3Frame> id3Frames;          // an MP3 source's, as ID3v2.3 frames
  QList<QByteArray> vorbisComments;   // an Ogg source's, raw "KEY=value" comments
  QList<WmaAttribute> wmaAttributes;  // a WMA source's, pictures included
};

}  // namespace tarvex
