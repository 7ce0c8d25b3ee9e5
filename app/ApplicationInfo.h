#pragma once

#include <QGuiApplication>
#include <QString>

namespace tarvex {

// The application title: what a second copy of the program looks for.
inline const QString kApplicationTitle = QStringLiteral("Tarvex MP3 Splitter Joiner V1.01");
// The main window's caption.
inline const QString kMainWindowCaption = QStringLiteral("Tarvex MP3 Splitter Joiner");
// The about box's caption.
inline const QString kAboutCaption = QStringLiteral("About Tarvex MP3 Splitter Joiner");
// The version the about box shows.
inline const QString kAboutVersion = QStringLiteral("1.70");

// Names the running program. On the desktop Qt appends the display name to
// every window title that does not already end with it; the display name is
// the main window's caption, so that caption stands alone in the title bar.
inline void nameApplication() {
  QCoreApplication::setApplicationName(QStringLiteral("tarvex"));
  QGuiApplication::setApplicationDisplayName(kMainWindowCaption);
}

}  // namespace tarvex
