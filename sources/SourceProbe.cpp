#include "sources/SourceProbe.h"

#include <QFileInfo>
#include <algorithm>
#include <climits>
#include <exception>

#include "components/audio/AudioFile2.h"
#include "platform/Error.h"
#include "tags/SourceTagReader.h"

namespace tarvex {

ProbeResult probeSource(const QString& path, bool fromFolder) {
  ProbeResult result;
  const QFileInfo file(path);
  result.fileName = file.fileName();
  SourceRecord& record = result.record;
  record.path = path;
  record.caption = result.fileName;
  try {
    const SourceTags tags = readSourceTags(path, fromFolder);
    if (!tags.caption.isEmpty()) record.caption = tags.caption;
    record.tags = tags.info;
    AudioFile2 reader;
    reader.setActive(true);
    reader.OpenRead(path, 0, 1);
    record.durationMs = std::max<int64_t>(0, reader.Duration());
    record.frames = std::max<int64_t>(0, reader.Samples());
    record.sampleRate = reader.SampleRate();
    record.channels = reader.Channels();
    reader.Close();
  } catch (const std::exception& error) {
    result.outcome = ProbeResult::Outcome::NotSupported;
    result.reason = userMessage(error);
    return result;
  }
  record.fileBytes = file.size();
  record.lengthSeconds = static_cast<int>(std::min<int64_t>(record.durationMs / 1000, INT_MAX));
  const int barFloor = fromFolder ? kAddFolderBarFloor : kAddFileBarFloor;
  record.barMax = static_cast<int>(
      std::max<int64_t>(std::min<int64_t>(record.durationMs / 500, INT_MAX), barFloor));
  record.resetRanges();
  result.outcome = !fromFolder && record.lengthSeconds == 0 ? ProbeResult::Outcome::ZeroLength
                                                            : ProbeResult::Outcome::Added;
  return result;
}

}  // namespace tarvex
