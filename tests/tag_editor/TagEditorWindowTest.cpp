#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <functional>

#include "app/dialogs/Tfm_id3.h"
#include "tags/GenreNames.h"
#include "tags/ID3Tags.h"
#include "tags/OutputTags.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/window/MainWindowHarness.h"
#include "tests/support/window/SourceFiles.h"

namespace tarvex {
namespace {

using testing::MainWindowHarness;
using testing::makeMp3Source;
using testing::makeWavSource;

// Three sources: an MP3 without any tag, a tagged MP3 and a WAV file.
class TagEditorWindow : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    media_ = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/tarvex-id3edit-XXXXXX"));
    makeMp3Source(media("first.mp3"), 1.5);
    makeMp3Source(media("second.mp3"), 1.5);
    AudioFileinfo tags;
    tags.title = QStringLiteral("Second Song");
    tags.artist = QStringLiteral("Ann");
    tags.album = QStringLiteral("Old Album");
    tags.year = QStringLiteral("1999");
    tags.genre = QStringLiteral("Jazz");
    WriteOutputTags(media("second.mp3"), tags);
    makeWavSource(media("third.wav"), 1);
  }
  static void TearDownTestSuite() { delete media_; }
  static QString media(const QString& name) { return media_->path() + QLatin1Char('/') + name; }

  void SetUp() override {
    harness.show();
    harness.addFiles({media("first.mp3"), media("second.mp3"), media("third.wav")});
    ASSERT_EQ(harness.sourceCaptions(), QStringList({"first.mp3", "Second Song", "third.wav"}));
  }

  Tfm_id3& editor() { return harness.window().fm_id3(); }
  std::vector<AudioFileinfo> tags() { return harness.window().sources().tags(); }

  // Opens the editor through a menu item and runs `inside` while it is open.
  // `inside` closes it; should it not, the editor is cancelled afterwards.
  void withEditor(const std::function<void(Tfm_id3&)>& inside,
                  const QString& menuItem = QStringLiteral("ID31")) {
    bool opened = false;
    harness.whenDialogOpens([this, &opened, inside] {
      opened = true;
      // Focus moves only inside the active window.
      editor().activateWindow();
      EXPECT_TRUE(QTest::qWaitFor([this] { return QApplication::activeWindow() == &editor(); }));
      inside(editor());
      if (editor().isVisible()) editor().btn_cancel->click();
    });
    harness.triggerMenuItem(menuItem);
    EXPECT_TRUE(opened) << "the tag editor did not open";
    EXPECT_FALSE(editor().isVisible());
  }

  static void clickRow(Tfm_id3& dialog, int row, Qt::KeyboardModifiers modifiers = {}) {
    QTreeWidgetItem* item = dialog.lv_id3->topLevelItem(row);
    ASSERT_NE(item, nullptr);
    QTest::mouseClick(dialog.lv_id3->viewport(), Qt::LeftButton, modifiers,
                      dialog.lv_id3->visualItemRect(item).center());
  }

  // Types over the field's text, one key at a time (any Unicode character).
  static void typeInto(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    for (const QChar character : text) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
      QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(character));
      QApplication::sendEvent(edit, &press);
      QApplication::sendEvent(edit, &release);
    }
  }

  static QStringList rowCaptions(const Tfm_id3& dialog) {
    QStringList captions;
    for (int i = 0; i < dialog.lv_id3->topLevelItemCount(); ++i) {
      captions << dialog.lv_id3->topLevelItem(i)->text(0);
    }
    return captions;
  }

  static QTemporaryDir* media_;
  MainWindowHarness harness;
};

QTemporaryDir* TagEditorWindow::media_ = nullptr;

TEST_F(TagEditorWindow, OpensOnTheSourcesWithTheFirstRowShownAndItsCaptionAsTitle) {
  withEditor([&](Tfm_id3& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "ID3 Edit");
    EXPECT_EQ(dialog.size(), QSize(419, 288));
    EXPECT_EQ(dialog.pos(), harness.window().frameGeometry().topLeft());
    EXPECT_EQ(dialog.lv_id3->headerItem()->text(0), "File Name");
    EXPECT_EQ(dialog.lv_id3->columnWidth(0), 143);
    EXPECT_EQ(rowCaptions(dialog), QStringList({"first.mp3", "Second Song", "third.wav"}));
    ASSERT_EQ(dialog.lv_id3->selectedItems().size(), 1);
    EXPECT_EQ(dialog.lv_id3->indexOfTopLevelItem(dialog.lv_id3->selectedItems().first()), 0);
    EXPECT_EQ(dialog.edt_tatal->text(), "first.mp3");
    EXPECT_EQ(dialog.edt_art->text(), "");
    QStringList labels;
    for (const char* name : {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6"}) {
      labels << dialog.findChild<QLabel*>(name)->text();
    }
    EXPECT_EQ(labels,
              QStringList({"Title:", "Artist: ", "Album: ", "Year: ", "Genre:", "Comment: "}));
    // A click shows the entry as read from the file.
    clickRow(dialog, 1);
    EXPECT_EQ(dialog.edt_tatal->text(), "Second Song");
    EXPECT_EQ(dialog.edt_art->text(), "Ann");
    EXPECT_EQ(dialog.edt_alb->text(), "Old Album");
    EXPECT_EQ(dialog.edt_year->text(), "1999") << "the source's year, as its tag gives it";
    EXPECT_EQ(dialog.edt_genre->currentText(), "Jazz");
    // Moving on with the keyboard shows the next entry too.
    dialog.lv_id3->setFocus();
    QTest::keyClick(dialog.lv_id3, Qt::Key_Down);
    EXPECT_EQ(dialog.edt_tatal->text(), "");
    EXPECT_EQ(dialog.edt_art->text(), "");
  });
  EXPECT_EQ(editor().lv_id3->topLevelItemCount(), 0) << "emptied on close";
}

TEST_F(TagEditorWindow, CancelAfterTypingAnArtistKeepsTheTags) {
  const std::vector<AudioFileinfo> before = tags();
  withEditor([&](Tfm_id3& dialog) {
    clickRow(dialog, 1);
    typeInto(dialog.edt_art, QStringLiteral("New Artist"));
    EXPECT_EQ(dialog.workingCopy().at(1).artist, "New Artist") << "stored at once";
    dialog.btn_cancel->click();
  });
  ASSERT_EQ(tags().size(), 3u);
  EXPECT_EQ(tags()[1].artist, "Ann");
  EXPECT_EQ(tags()[0].title, before[0].title);
  EXPECT_EQ(harness.sourceCaptions(), QStringList({"first.mp3", "Second Song", "third.wav"}));

  // The close button drops the copy as Cancel does.
  withEditor([&](Tfm_id3& dialog) {
    typeInto(dialog.edt_art, QStringLiteral("Someone"));
    dialog.close();
  });
  EXPECT_EQ(tags()[0].artist, "");
}

TEST_F(TagEditorWindow, AlbumForAllThenOkReachesEverySourceAndTheOutputTags) {
  withEditor([&](Tfm_id3& dialog) {
    typeInto(dialog.edt_alb, QStringLiteral("Collected Works"));
    dialog.Button3->click();
    dialog.btn_ok->click();
  });
  for (const AudioFileinfo& entry : tags()) EXPECT_EQ(entry.album, "Collected Works");
  EXPECT_EQ(tags()[1].artist, "Ann") << "other fields stay";
  EXPECT_EQ(tags()[1].title, "Second Song");

  // What the split writes onto a piece of the second source carries the edit.
  const QString piece = harness.outputDir() + QStringLiteral("piece.mp3");
  ASSERT_TRUE(QFile::copy(media("first.mp3"), piece));
  WriteOutputTags(piece, tags()[1]);
  ID3Tags reader;
  reader.ReadID3V2Tag(piece);
  EXPECT_EQ(reader.LastID3V2.album, "Collected Works");
  EXPECT_EQ(reader.LastID3V2.artist, "Ann");
}

TEST_F(TagEditorWindow, EveryAllButtonCopiesItsOwnFieldButNotTheCaptions) {
  withEditor([&](Tfm_id3& dialog) {
    clickRow(dialog, 1);
    typeInto(dialog.edt_tatal, QStringLiteral("Same"));
    typeInto(dialog.edt_year, QStringLiteral("2024"));
    dialog.edt_genre->setEditText(QStringLiteral("Chiptune"));
    dialog.edt_com->setPlainText(QStringLiteral("two\nlines"));
    for (QPushButton* all :
         {dialog.Button1, dialog.Button2, dialog.Button4, dialog.Button5, dialog.Button6}) {
      all->click();
    }
    EXPECT_EQ(rowCaptions(dialog).value(0), "first.mp3") << "All does not rename rows";
    dialog.btn_ok->click();
  });
  for (const AudioFileinfo& entry : tags()) {
    EXPECT_EQ(entry.title, "Same");
    EXPECT_EQ(entry.artist, "Ann");
    EXPECT_EQ(entry.year, "2024");
    EXPECT_EQ(entry.genre, "Chiptune");
    EXPECT_EQ(entry.comment, "two\nlines");
  }
  EXPECT_EQ(harness.sourceCaptions(), QStringList({"Same", "Same", "Same"}))
      << "OK renames every source with a title";
}

TEST_F(TagEditorWindow, LeavingTheTitleRenamesTheRowAndOkRenamesTheSource) {
  const QString title = QStringLiteral("Caf\u00e9 \u6771\u4eac");
  withEditor([&](Tfm_id3& dialog) {
    clickRow(dialog, 2);
    typeInto(dialog.edt_tatal, title);
    EXPECT_EQ(rowCaptions(dialog).value(2), "third.wav") << "not before leaving the field";
    dialog.edt_art->setFocus();
    EXPECT_EQ(rowCaptions(dialog).value(2), title);
    dialog.btn_ok->click();
  });
  EXPECT_EQ(harness.sourceCaptions().value(2), title);
  EXPECT_EQ(tags()[2].title, title);
  EXPECT_EQ(harness.window().sources().at(2).path, media("third.wav"));
}

TEST_F(TagEditorWindow, ATitleLessFirstSourceGetsItsCaptionAsTitleOnOk) {
  ASSERT_EQ(tags()[0].title, "");
  withEditor([&](Tfm_id3& dialog) { dialog.btn_ok->click(); });
  EXPECT_EQ(tags()[0].title, "first.mp3");
  EXPECT_EQ(tags()[2].title, "") << "only the entry shown takes its caption";
  EXPECT_EQ(harness.sourceCaptions(), QStringList({"first.mp3", "Second Song", "third.wav"}));
}

TEST_F(TagEditorWindow, ResetBringsBackTheValuesOfTheOpening) {
  withEditor([&](Tfm_id3& dialog) {
    typeInto(dialog.edt_art, QStringLiteral("Edited"));
    clickRow(dialog, 1);
    typeInto(dialog.edt_alb, QStringLiteral("Edited Album"));
    typeInto(dialog.edt_tatal, QStringLiteral("Edited Title"));
    dialog.edt_art->setFocus();
    dialog.Button7->click();
    EXPECT_EQ(rowCaptions(dialog), QStringList({"first.mp3", "Second Song", "third.wav"}));
    EXPECT_EQ(dialog.edt_tatal->text(), "first.mp3");
    EXPECT_EQ(dialog.edt_art->text(), "");
    EXPECT_EQ(dialog.workingCopy().at(0).artist, "");
    EXPECT_EQ(dialog.workingCopy().at(1).album, "Old Album");
    EXPECT_EQ(dialog.workingCopy().at(1).title, "Second Song");
    dialog.btn_ok->click();
  });
  EXPECT_EQ(tags()[1].album, "Old Album");
  EXPECT_EQ(tags()[0].artist, "");
}

TEST_F(TagEditorWindow, TheGenreListHolds148NamesHoweverOftenItOpens) {
  for (int opening = 0; opening < 2; ++opening) {
    withEditor([&](Tfm_id3& dialog) {
      EXPECT_EQ(dialog.edt_genre->count(), 148);
      EXPECT_EQ(dialog.edt_genre->itemText(0), "Blues");
      EXPECT_EQ(dialog.edt_genre->itemText(79), "Hard Rock");
      EXPECT_EQ(dialog.edt_genre->itemText(80), "Folk");
      EXPECT_EQ(dialog.edt_genre->itemText(147), "SynthPop");
      // A typed genre is kept as text and does not join the list.
      dialog.edt_genre->setFocus();
      dialog.edt_genre->lineEdit()->selectAll();
      QTest::keyClicks(dialog.edt_genre, QStringLiteral("Chiptune"));
      QTest::keyClick(dialog.edt_genre, Qt::Key_Return);
      EXPECT_EQ(dialog.edt_genre->count(), 148);
      EXPECT_EQ(dialog.workingCopy().at(0).genre, "Chiptune");
      // Choosing a name from the list stores its text, not its number.
      dialog.edt_genre->setCurrentIndex(17);
      EXPECT_EQ(dialog.workingCopy().at(0).genre, "Rock");
      dialog.btn_cancel->click();
    });
  }
  EXPECT_EQ(GenreNames().size(), 148);
  EXPECT_EQ(GenreNames().indexOf("Polsk Punk"), 134);
  EXPECT_EQ(GenreNames().indexOf("Britpop"), 132);
}

TEST_F(TagEditorWindow, AClickThatLeavesNoRowSelectedGoesBackToTheRememberedRow) {
  withEditor([&](Tfm_id3& dialog) {
    clickRow(dialog, 1);
    clickRow(dialog, 1, Qt::ControlModifier);  // deselects in a single-selection list
    ASSERT_EQ(dialog.lv_id3->selectedItems().size(), 1);
    EXPECT_EQ(dialog.lv_id3->indexOfTopLevelItem(dialog.lv_id3->selectedItems().first()), 0);
    EXPECT_EQ(dialog.edt_tatal->text(), "first.mp3");
    // With no row selected nothing is stored.
    dialog.lv_id3->clearSelection();
    typeInto(dialog.edt_art, QStringLiteral("Nobody"));
    for (const AudioFileinfo& entry : dialog.workingCopy()) EXPECT_NE(entry.artist, "Nobody");
    dialog.btn_ok->click();
  });
  for (const AudioFileinfo& entry : tags()) EXPECT_NE(entry.artist, "Nobody");
}

TEST_F(TagEditorWindow, FromTheSourceListMenuAndWithAnEmptyList) {
  withEditor([&](Tfm_id3& dialog) { EXPECT_EQ(dialog.lv_id3->topLevelItemCount(), 3); },
             QStringLiteral("ID3info1"));
  harness.triggerMenuItem("Clear1");
  ASSERT_TRUE(tags().empty());
  withEditor([&](Tfm_id3& dialog) {
    EXPECT_EQ(dialog.lv_id3->topLevelItemCount(), 0);
    typeInto(dialog.edt_art, QStringLiteral("Nobody"));
    dialog.Button2->click();
    dialog.Button7->click();
    dialog.btn_ok->click();
  });
  EXPECT_TRUE(tags().empty());
  EXPECT_TRUE(harness.sourceCaptions().isEmpty());
}

TEST_F(TagEditorWindow, StillOpensWhileAJobRuns) {
  harness.holdJob();
  withEditor([&](Tfm_id3& dialog) {
    typeInto(dialog.edt_year, QStringLiteral("2001"));
    dialog.btn_ok->click();
  });
  EXPECT_EQ(tags()[0].year, "2001");
  harness.window().StopJob();
}

}  // namespace
}  // namespace tarvex

namespace tarvex {
namespace {

TEST_F(TagEditorWindow, SplitPiecesCarryTheEditedTags) {
  withEditor([this](Tfm_id3& dialog) {
    clickRow(dialog, 0);
    typeInto(dialog.edt_tatal, QString::fromUtf8("Утро"));
    typeInto(dialog.edt_art, QStringLiteral("Edited Artist"));
    typeInto(dialog.edt_alb, QStringLiteral("Shared Album"));
    dialog.Button3->click();  // the album for every source
    typeInto(dialog.edt_year, QStringLiteral("2026"));
    dialog.btn_ok->click();
  });
  // Cut every source into one piece (every 60 seconds) through the menu's Split.
  harness.mainSettings().splitFunction = SplitFunction::EveryNSeconds;
  harness.triggerMenuItem("Start1");
  ASSERT_FALSE(harness.window().jobRunning());
  const QString firstPiece = harness.outputDir() + QString::fromUtf8("Утро_1.mp3");
  ASSERT_TRUE(QFile::exists(firstPiece)) << harness.platform().messages().join('\n').toStdString();
  ID3Tags reader;
  reader.ReadID3V2Tag(firstPiece);
  EXPECT_EQ(reader.LastID3V2.title, QString::fromUtf8("Утро"));
  EXPECT_EQ(reader.LastID3V2.artist, "Edited Artist");
  EXPECT_EQ(reader.LastID3V2.album, "Shared Album");
  EXPECT_EQ(reader.LastID3V2.year, "2026");
  // The second source's own tags stay, with the album given to all.
  reader.ReadID3V2Tag(harness.outputDir() + "Second Song_1.mp3");
  EXPECT_EQ(reader.LastID3V2.artist, "Ann");
  EXPECT_EQ(reader.LastID3V2.album, "Shared Album");
  EXPECT_EQ(reader.LastID3V2.genre, "Jazz");
}

}  // namespace
}  // namespace tarvex
