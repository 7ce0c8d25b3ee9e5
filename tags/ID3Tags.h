#pragma once

#include <QString>

#include "tags/ID3StructV2.h"
#include "tags/ID3V1Block.h"

namespace tarvex {

// Reads and writes the ID3 tags of MP3 files. The results of the last reads
// stay in LastID3V2 and LastID3V1 for the caller to take. Reading never
// changes a file.
class ID3Tags {
 public:
  ID3StructV2 LastID3V2;
  ID3V1Block LastID3V1;

  // Clears LastID3V2 and fills it from the file's ID3v2 tag. Never throws: a
  // file that cannot be read, or has no well-formed tag, gives empty texts.
  void ReadID3V2Tag(const QString& path);

  // Fills LastID3V1 from the file's last 128 bytes. Throws TagError when the
  // file cannot be opened or read.
  void ReadID3V1Tag(const QString& path);

  // Puts an ID3v2.3 tag holding fields in front of the file's audio,
  // replacing an ID3v2 tag that starts the file. The file is rewritten through
  // a temporary file in the same folder; on failure it is left as it was and
  // TagError is thrown.
  void WriteID3V2Tag(const QString& path, ID3StructV2 fields) const;
};

}  // namespace tarvex
