#pragma once

#include <QString>

namespace tarvex {

// The application title: what a second copy of the program looks for.
inline const QString kApplicationTitle = QStringLiteral("Tarvex MP3 Splitter Joiner V1.01");
// The main window's caption.
inline const QString kMainWindowCaption = QStringLiteral("Tarvex MP3 Splitter Joiner");
// The version the about box shows.
inline const QString kAboutVersion = QStringLiteral("1.70");

}  // namespace tarvex
