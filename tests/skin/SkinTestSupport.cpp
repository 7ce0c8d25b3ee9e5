#include "tests/skin/SkinTestSupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmap>

namespace tarvex::skin::testing {

QStringList programObjectNames() {
  return {QStringLiteral("pb"),       QStringLiteral("timecaption"), QStringLiteral("tataltime"),
          QStringLiteral("nm"),       QStringLiteral("pbpos"),       QStringLiteral("convertpb"),
          QStringLiteral("file"),     QStringLiteral("Action"),      QStringLiteral("Help"),
          QStringLiteral("Settings"), QStringLiteral("Set"),         QStringLiteral("addfile"),
          QStringLiteral("Up"),       QStringLiteral("Down"),        QStringLiteral("Remove"),
          QStringLiteral("Clear"),    QStringLiteral("play"),        QStringLiteral("stop"),
          QStringLiteral("Stop"),     QStringLiteral("hou"),         QStringLiteral("qian"),
          QStringLiteral("Split"),    QStringLiteral("Join"),        QStringLiteral("Begin"),
          QStringLiteral("End"),      QStringLiteral("Ok"),          QStringLiteral("helpfile"),
          QStringLiteral("lv"),       QStringLiteral("lv_time"),     QStringLiteral("sm"),
          QStringLiteral("cb_format")};
}

QString writeSkinFile(const QTemporaryDir& folder, const QString& fileName,
                      const QByteArray& text) {
  const QString path = folder.filePath(fileName);
  QFile file(path);
  if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(text);
  return path;
}

void saveSnapshotIfAsked(QWidget& widget, const QString& name) {
  const QString folder = qEnvironmentVariable("TARVEX_SKIN_SNAPSHOT_DIR");
  if (folder.isEmpty()) return;
  QDir().mkpath(folder);
  widget.grab().save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

}  // namespace tarvex::skin::testing
