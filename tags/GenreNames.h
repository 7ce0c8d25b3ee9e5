#pragma once

#include <QStringList>

namespace tarvex {

// The 148 genre names of the ID3v1 list with its Winamp extensions, in
// numeric order (index = genre number).
const QStringList& GenreNames();

}  // namespace tarvex
