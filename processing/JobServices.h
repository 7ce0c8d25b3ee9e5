#pragma once

#include <QString>
#include <functional>

#include "sources/WindowParts.h"

namespace tarvex {

class AudioFile2;
class AudioTransform2;
class ConversionProgress;
class Mp3LameEncoder;
class PlatformServices;
class SegmentList;
class SettingsFile;

// What a split or join job works with. The main window owns every piece and
// hands references down; the functions read the window's controls at the
// moment the job needs them.
struct JobServices {
  WindowParts& parts;
  SegmentList& segments;
  AudioFile2& reader;
  AudioFile2& writer;
  Mp3LameEncoder& encoder;
  AudioTransform2& transform;
  const SettingsFile& settings;
  ConversionProgress& progress;
  PlatformServices& platform;
  std::function<QString()> commandLine;  // the settings dialog's command-line text
  std::function<int()> formatIndex;      // the format selector's item index
  std::function<void(int)> setFormatIndex;
  std::function<void()> stopPlayback;  // stops the preview player
  // Pumps the event queue; empty: QCoreApplication::processEvents.
  std::function<void()> pumpEvents;
};

// How a job command ended.
enum class JobOutcome {
  NothingRan,  // refused, cancelled, or nothing to do
  Completed,
  Stopped,  // the Stop command ended it early; what was written stays
  Failed,   // an error ended it; the message was shown
};

}  // namespace tarvex
