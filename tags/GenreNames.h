#pragma once

#include <QStringList>

namespace tarvex {

// The 148 genre names of the ID3v1 list with its Winamp extensions, in
// numeric order (index = genre number).
const QStringList& GenreNames();

// The genre an ID3 genre text stands for, as its name. The ID3 conventions
// "(17)", "17" and "(17)Rock" all mean genre 17 ("Rock"); text after the
// references refines them and wins; "(RX)" is "Remix", "(CR)" is "Cover", and
// "((" starts a text that begins with "(". A number outside the list and any
// other text are kept as written.
QString genreFromID3Text(const QString& text);

// The name of an ID3v1 genre byte; empty for 255 (no genre) and numbers
// outside the list.
QString genreFromID3V1Byte(unsigned char number);

}  // namespace tarvex
