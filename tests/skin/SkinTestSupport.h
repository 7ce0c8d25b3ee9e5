#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "components/skin/SkinWidget.h"

namespace tarvex::skin::testing {

// Every object name the main window relies on.
QStringList programObjectNames();

// Writes `text` to a file in `folder` and returns its path.
QString writeSkinFile(const QTemporaryDir& folder, const QString& fileName, const QByteArray& text);

// Saves the widget's picture as <name>.png into $TARVEX_SKIN_SNAPSHOT_DIR when
// that variable is set (for looking at the skin); does nothing otherwise.
void saveSnapshotIfAsked(QWidget& widget, const QString& name);

}  // namespace tarvex::skin::testing
