#pragma once

#include <QString>

namespace tarvex {

// Where the about box and the "HomePage" command send the user. The
// addresses are the project's placeholders.
inline const QString kWebAddress = QStringLiteral("https://tarvex.example/");
inline const QString kSalesMailAddress = QStringLiteral("sales@tarvex.example");
inline const QString kSupportMailAddress = QStringLiteral("support@tarvex.example");

}  // namespace tarvex
