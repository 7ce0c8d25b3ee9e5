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

// Names the running program. No display name is set: on the desktop Qt
// appends one to every window title that does not end with it, and each of
// our windows (the main window, the about box, the dialogs) shows its own
// caption alone. Message boxes carry the application title instead.
inline void nameApplication() {
  QCoreApplication::setApplicationName(QStringLiteral("tarvex"));
}

}  // namespace tarvex
