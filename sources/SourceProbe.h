#pragma once

#include <QString>

#include "sources/SourceRecord.h"

namespace tarvex {

// Floors of the position bar's maximum for a short source.
constexpr int kAddFileBarFloor = 1084;
constexpr int kAddFolderBarFloor = 1014;

// What probing one file gave: its record, or the reason it is refused.
struct ProbeResult {
  enum class Outcome { Added, NotSupported, ZeroLength };
  Outcome outcome = Outcome::NotSupported;
  SourceRecord record;
  QString fileName;  // the path's file name, for the refusal message
  QString reason;    // NotSupported: what the reader or tag reader said
};

// Probes one file with a reader of its own, so several files can be probed
// side by side: reads its tags for the caption, measures its exact length,
// rate and channels. Any failure gives NotSupported; a file shorter than one
// second added by Add File (not by Add Folder) gives ZeroLength.
ProbeResult probeSource(const QString& path, bool fromFolder);

}  // namespace tarvex
