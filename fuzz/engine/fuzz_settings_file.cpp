// Any settings file content: reads give a value or the default, a write keeps
// every other line, and the written key reads back.
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

#include "config/SettingsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static QTemporaryDir folder;
  const QString path = folder.path() + QStringLiteral("/Quillmere.ini");
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
    file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  }
  const tarvex::SettingsFile settings(path);
  (void)settings.GetInt(QStringLiteral("Function"), QStringLiteral("Choice"), 0);
  (void)settings.GetBool(QStringLiteral("Fade"), QStringLiteral("In"), false);
  const QString text = settings.GetText(QStringLiteral("Output"), QStringLiteral("Dir"), QString());
  if (text.size() > 2047) __builtin_trap();
  try {
    settings.PutInt(QStringLiteral("Choice"), QStringLiteral("time"), 42);
    if (settings.GetInt(QStringLiteral("Choice"), QStringLiteral("time"), 0) != 42) {
      __builtin_trap();
    }
  } catch (const tarvex::SettingsWriteError&) {
  }
  return 0;
}
