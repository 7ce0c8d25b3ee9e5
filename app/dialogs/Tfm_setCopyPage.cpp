#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "app/dialogs/SettingsControls.h"
#include "app/dialogs/Tfm_set.h"

namespace tarvex {

// The page of "MP3 (no re-encode)": it has no settings of its own (what it
// cannot copy is encoded with the MP3 pages' settings), so it says what the
// format does and when it encodes instead.
QGroupBox* Tfm_set::buildMp3CopyPage() {
  ui_->gb_mp3copy = new QGroupBox;
  ui_->gb_mp3copy->setObjectName(QStringLiteral("gb_mp3copy"));
  ui_->gb_mp3copy->setProperty("pageTitle", QStringLiteral("Set MP3 (no re-encode)"));
  auto* layout = new QVBoxLayout(ui_->gb_mp3copy);
  layout->setContentsMargins(6, 6, 6, 6);
  ui_->lb_mp3copy = new QLabel(
      QStringLiteral(
          "Pieces of MP3 files are made of the files' own frames, without encoding them "
          "again: no loss of quality, much faster, and still exact to the sample. Only the "
          "few frames at each cut and under a fade are encoded again, so a piece holds none "
          "of the audio around it.\n\n"
          "Joins copy too, of whole files or marked ranges: only the frames where parts "
          "meet are encoded again, leaving no gap (pieces of one recording meet exactly, "
          "other files with a crossfade under one frame).\n\n"
          "Files that are not MP3 or cannot be copied, and joins of files that differ in "
          "sample rate or channels, are encoded with the MP3 settings instead; a message "
          "says why."),
      ui_->gb_mp3copy);
  ui_->lb_mp3copy->setObjectName(QStringLiteral("lb_mp3copy"));
  ui_->lb_mp3copy->setWordWrap(true);
  ui_->lb_mp3copy->setAlignment(Qt::AlignTop | Qt::AlignLeft);
  layout->addWidget(ui_->lb_mp3copy);
  return ui_->gb_mp3copy;
}

}  // namespace tarvex
