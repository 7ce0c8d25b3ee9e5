#include "processing/JobFailure.h"

#include "components/audio/AudioError.h"
#include "tags/TagError.h"

namespace tarvex {

QString jobErrorMessage(const std::exception& error) {
  if (const auto* audio = dynamic_cast<const AudioError*>(&error)) return audio->message();
  if (const auto* tag = dynamic_cast<const TagError*>(&error)) return tag->message();
  return QString::fromUtf8(error.what());
}

}  // namespace tarvex
