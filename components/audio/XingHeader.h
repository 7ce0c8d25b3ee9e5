#pragma once

#include <QString>
#include <cstdint>

namespace tarvex {

// Whether the Info/Xing header at the start of an MP3 file can be trusted
// for the file's length: it records the stream's frame count and byte count,
// and the byte count agrees with the bytes of MPEG audio the file holds (its
// size less an ID3v2 tag in front and an ID3v1 tag at the end). A file cut
// short or grown since it was written fails the check and is scanned frame
// by frame instead.
bool hasTrustworthyXingHeader(const QString& path);

// The same check on the first bytes of the first frame (at least 64), the
// bytes from that frame to the end of the file, and whether the file ends in
// an ID3v1 tag.
bool hasTrustworthyXingHeader(const unsigned char* frame, int64_t frameBytes, int64_t audioBytes,
                              bool endsWithId3v1);

}  // namespace tarvex
