#include "components/skin/SkinFileReader.h"

#include <QFile>
#include <QFileInfo>

#include "components/skin/BuiltInSkin.h"
#include "components/skin/SkinError.h"
#include "components/skin/SkinParser.h"

namespace tarvex::skin {

SkinDocument readSkinFile(const QString& path) {
  const QFileInfo info(path);
  if (info.isDir()) throw SkinError(QStringLiteral("it is a folder, not a file"));
  if (info.size() > kMaxSkinFileBytes) {
    throw SkinError(QStringLiteral("it is too large for a skin file (%1 bytes; at most %2)")
                        .arg(info.size())
                        .arg(kMaxSkinFileBytes));
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw SkinError(QStringLiteral("it cannot be read (%1)").arg(file.errorString()));
  }
  const QByteArray bytes = file.read(kMaxSkinFileBytes + 1);
  if (bytes.size() > kMaxSkinFileBytes)
    throw SkinError(QStringLiteral("it is too large for a skin file"));
  if (bytes.contains('\0')) throw SkinError(QStringLiteral("it holds binary data, not skin text"));
  return parseSkinText(QString::fromUtf8(bytes));
}

SkinDocument builtInSkinDocument() {
  try {
    return parseSkinText(builtInSkinText());
  } catch (const SkinError&) {
    // The built-in text is checked by the tests; should it ever be damaged the
    // window stays plain rather than failing to start.
    SkinDocument empty;
    SkinLayout layout;
    layout.name = QStringLiteral("Plaskett");
    layout.size = QSize(547, 421);
    empty.layouts.push_back(layout);
    return empty;
  }
}

}  // namespace tarvex::skin
