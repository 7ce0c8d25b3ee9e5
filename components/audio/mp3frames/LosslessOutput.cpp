#include "components/audio/mp3frames/LosslessOutput.h"

#include "components/audio/AudioError.h"
#include "components/audio/ErrorText.h"

#include <QFileInfo>

namespace tarvex::mp3frames {

LosslessOutput::LosslessOutput(const QString& fileName) : fileName_(fileName), file_(fileName) {
  if (QFileInfo(fileName).isDir())
    throw AudioError(createError(fileName, QStringLiteral("it is a folder")));
  if (QFileInfo::exists(fileName))
    throw AudioError(createError(fileName, QStringLiteral("the file already exists")));
  if (!file_.open(QIODevice::WriteOnly | QIODevice::NewOnly))
    throw AudioError(createError(fileName, file_.errorString().toLower()));
}

LosslessOutput::~LosslessOutput() {
  if (committed_) return;
  file_.close();
  file_.remove();
}

void LosslessOutput::write(const void* data, size_t size) {
  if (size == 0) return;
  const auto written = file_.write(static_cast<const char*>(data), static_cast<qint64>(size));
  if (written != static_cast<qint64>(size))
    throw AudioError(writeError(fileName_, file_.errorString().toLower()));
}

void LosslessOutput::commit() {
  if (!file_.flush()) throw AudioError(writeError(fileName_, file_.errorString().toLower()));
  file_.close();
  if (file_.error() != QFileDevice::NoError)
    throw AudioError(writeError(fileName_, file_.errorString().toLower()));
  committed_ = true;
}

}  // namespace tarvex::mp3frames
