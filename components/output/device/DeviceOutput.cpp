#include "components/output/device/DeviceOutput.h"

#include <QMediaDevices>

#include "components/output/device/SinkAudioOutput.h"

namespace tarvex {

std::unique_ptr<AudioOutput> defaultDeviceOutput() {
  const QAudioDevice device = QMediaDevices::defaultAudioOutput();
  if (device.isNull()) return nullptr;
  return std::make_unique<SinkAudioOutput>(device);
}

}  // namespace tarvex
