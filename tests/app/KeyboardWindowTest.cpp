// The window without a mouse: every command reached from the keyboard, and
// the skin's objects told to a screen reader by their captions.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QTest>
#include <QTreeWidget>
#include <QWindow>

#include "app/MarkCommands.h"
#include "app/dialogs/Tfm_set.h"
#include "app/dialogs/Tfm_silence.h"
#include "app/views/SegmentList.h"
#include "components/skin/SkinObject.h"
#include "components/skin/SkinWidget.h"
#include "tests/support/window/MainWindowHarness.h"
#include "tests/support/window/SourceFiles.h"

namespace tarvex {
namespace {

using testing::MainWindowHarness;

class KeyboardWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    harness.show();
    harness.window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&harness.window()));
  }

  skin::SkinWidget& skin() { return harness.window().Skin1(); }

  // A key as the user types it: to the open menu, else the dialog in front,
  // else the widget with the focus.
  void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::activePopupWidget();
    if (QWidget* dialog = QApplication::activeModalWidget(); target == nullptr && dialog) {
      target = dialog->focusWidget() != nullptr ? dialog->focusWidget() : dialog;
    }
    if (target == nullptr) target = QApplication::focusWidget();
    if (target == nullptr) target = &harness.window();
    QTest::keyClick(target, key, modifiers);
  }

  // Tabs until the named skin object has the keyboard; false if Tab never reaches it.
  bool tabTo(const QString& name) {
    for (int presses = 0; presses < 80; ++presses) {
      if (skin().hasFocus() && skin().focusedObject() != nullptr &&
          skin().focusedObject()->name() == name) {
        return true;
      }
      press(Qt::Key_Tab);
    }
    return false;
  }

  // The offscreen platform leaves a closed menu or dialog the active window;
  // a desktop gives the activation back to the main window.
  void backToWindow() {
    harness.window().windowHandle()->requestActivate();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return QApplication::activeWindow() == &harness.window(); }, 5000));
  }

  // Tabs until the widget has the focus.
  bool tabToWidget(QWidget* widget) {
    for (int presses = 0; presses < 80 && QApplication::focusWidget() != widget; ++presses) {
      press(Qt::Key_Tab);
    }
    return QApplication::focusWidget() == widget;
  }

  // Opens a menu by its Alt key, walks down to the item and takes it with Enter.
  void chooseFromMenu(Qt::Key menuKey, const QString& handlerName) {
    press(menuKey, Qt::AltModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr) << "no menu opened";
    for (int presses = 0; presses < 30; ++presses) {
      if (menu->activeAction() != nullptr && menu->activeAction()->objectName() == handlerName) {
        press(Qt::Key_Return);
        ASSERT_TRUE(harness.waitUntilIdle());
        backToWindow();
        return;
      }
      press(Qt::Key_Down);
    }
    FAIL() << "the menu has no item " << handlerName.toStdString();
  }

  MainWindowHarness harness;
};

TEST_F(KeyboardWindow, EveryJobAndMarksCommandRunsFromTheKeys) {
  const QString first = testing::makeWavSource(harness.mediaPath("first.wav"), 3.37);
  const QString second = testing::makeWavSource(harness.mediaPath("second.wav"), 2.61);
  harness.platform().openAnswers.push_back({first, second});
  press(Qt::Key_O, Qt::ControlModifier);
  ASSERT_TRUE(harness.waitUntilIdle());
  ASSERT_EQ(harness.window().sources().count(), 2);

  // Split: Tab to the button, Space.
  ASSERT_TRUE(tabTo("Split"));
  press(Qt::Key_Space);
  ASSERT_TRUE(harness.waitUntilIdle());
  EXPECT_EQ(QDir(harness.outputDir()).entryList(QDir::Files).size(), 2);

  // Play and Stop: the player's button with Enter, the job button with Space.
  ASSERT_TRUE(tabTo("play"));
  press(Qt::Key_Return);
  EXPECT_TRUE(harness.player().IsPlaying());
  ASSERT_TRUE(tabTo("Stop"));
  press(Qt::Key_Space);
  EXPECT_FALSE(harness.player().IsPlaying());

  // Join from the Action menu, answering the save dialog.
  const QString joined = harness.outputDir() + QStringLiteral("joined.mp3");
  harness.platform().saveAnswers.push_back(PlatformServices::SaveChoice{joined, 1});
  chooseFromMenu(Qt::Key_A, QStringLiteral("Join1"));
  EXPECT_TRUE(QFileInfo::exists(joined));

  // Settings with Alt+S; Escape closes it.
  bool settingsShown = false;
  harness.whenDialogOpens([&] {
    settingsShown = QApplication::activeModalWidget() == &harness.window().fm_set();
    press(Qt::Key_Escape);
  });
  press(Qt::Key_S, Qt::AltModifier);
  EXPECT_TRUE(settingsShown);
  backToWindow();

  // Find silences: its dialog is accepted with Enter; a steady tone has no pause.
  harness.platform().informations.clear();
  bool silencesShown = false;
  harness.whenDialogOpens([&] {
    silencesShown =
        QApplication::activeModalWidget() == &harness.window().markCommands().fm_silence();
    press(Qt::Key_Return);
  });
  chooseFromMenu(Qt::Key_A, QStringLiteral("FindSilences1"));
  EXPECT_TRUE(silencesShown);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !harness.platform().informations.isEmpty(); }, 20000));
  EXPECT_TRUE(harness.platform().informations.value(0).startsWith("No pause"))
      << harness.platform().informations.value(0).toStdString();

  // A range marked on the first file by keys: its row chosen with Home, the
  // bar moved with the arrows, Begin, End and OK pressed.
  ASSERT_TRUE(tabToWidget(&harness.window().lv()));
  press(Qt::Key_Home);
  ASSERT_TRUE(harness.window().lv().topLevelItem(0)->isSelected());
  ASSERT_TRUE(tabTo("pb"));
  press(Qt::Key_Home);
  for (int step = 0; step < 35; ++step) press(Qt::Key_Right);
  ASSERT_TRUE(tabTo("Begin"));
  press(Qt::Key_Space);
  ASSERT_TRUE(tabTo("pb"));
  press(Qt::Key_End);
  ASSERT_TRUE(tabTo("End"));
  press(Qt::Key_Space);
  ASSERT_TRUE(tabTo("Ok"));
  press(Qt::Key_Space);
  const std::vector<MarkedRange> marked = harness.window().sources().at(0).ranges;
  ASSERT_EQ(marked.size(), 2u) << "one confirmed range and the pending one";
  EXPECT_GT(marked[0].begin, 0) << "the arrows moved the bar";
  EXPECT_EQ(marked[0].end, harness.window().sources().at(0).lengthSeconds) << "End: the end";

  // Save marks writes it beside the file; the ranges reset from the pieces
  // list; Load marks brings them back.
  chooseFromMenu(Qt::Key_A, QStringLiteral("SaveMarks1"));
  const QString sheet = harness.mediaPath("first.cue");
  ASSERT_TRUE(QFileInfo::exists(sheet)) << harness.platform().messages().join("; ").toStdString();
  ASSERT_TRUE(tabToWidget(&harness.window().lv_time()));
  press(Qt::Key_End);
  press(Qt::Key_Home);
  ASSERT_TRUE(harness.window().segmentList().hasFocus());
  ASSERT_TRUE(tabTo("Clear"));
  press(Qt::Key_Space);
  ASSERT_EQ(harness.window().sources().at(0).ranges.size(), 1u);
  harness.platform().openAnswers.push_back({sheet});
  chooseFromMenu(Qt::Key_A, QStringLiteral("LoadMarks1"));
  EXPECT_EQ(harness.window().sources().at(0).ranges.size(), 2u);
  EXPECT_EQ(harness.window().sources().at(0).ranges[0].begin, marked[0].begin);
  EXPECT_EQ(harness.window().sources().at(0).ranges[0].end, marked[0].end);
  EXPECT_TRUE(harness.platform().errors.isEmpty())
      << harness.platform().errors.join("; ").toStdString();
}

TEST_F(KeyboardWindow, TabWalksTheSkinThenTheListsAndTheBarMovesWithTheArrows) {
  harness.addFiles({testing::makeWavSource(harness.mediaPath("talk.wav"), 10.43)});
  // Backwards from the lists lands on the skin's last object; forward from it, on the lists.
  harness.window().lv().setFocus();
  press(Qt::Key_Backtab, Qt::ShiftModifier);
  ASSERT_TRUE(skin().hasFocus());
  ASSERT_NE(skin().focusedObject(), nullptr);
  EXPECT_EQ(skin().focusedObject()->name(), "Ok");
  press(Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), &harness.window().lv());

  // The ring shows where the keyboard is.
  ASSERT_TRUE(tabTo("Clear"));
  const QRect clear = skin().objectRect("Clear");
  const QImage ringed = skin().grab().toImage();
  ASSERT_TRUE(tabTo("Set"));
  const QImage moved = skin().grab().toImage();
  const QPoint corner = clear.topLeft() - QPoint(2, 2);
  EXPECT_NE(ringed.pixelColor(corner), moved.pixelColor(corner)) << "the focus ring";

  // The position bar: arrows step, End goes to the end, and the time shows it.
  ASSERT_TRUE(tabTo("pb"));
  skin::SkinObject* bar = skin().findObject("pb");
  bar->setPosition(0);
  press(Qt::Key_Right);
  press(Qt::Key_Right);
  EXPECT_GT(bar->position(), 0);
  const int stepped = bar->position();
  press(Qt::Key_Left);
  EXPECT_LT(bar->position(), stepped);
  press(Qt::Key_End);
  EXPECT_EQ(bar->position(), bar->span());
  EXPECT_EQ(harness.skinText("timecaption"), "00:00:10");
}

TEST_F(KeyboardWindow, AScreenReaderFindsEverySkinButtonByItsCaption) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(&skin());
  ASSERT_NE(face, nullptr);
  QStringList buttons;
  QAccessibleInterface* clear = nullptr;
  QAccessibleInterface* bar = nullptr;
  for (int index = 0; index < face->childCount(); ++index) {
    QAccessibleInterface* child = face->child(index);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(face->indexOfChild(child), index);
    if (child->role() == QAccessible::Button) buttons << child->text(QAccessible::Name);
    if (child->text(QAccessible::Name) == "Clear") clear = child;
    if (child->role() == QAccessible::Slider) bar = child;
  }
  EXPECT_EQ(buttons,
            QStringList({"File",   "Action", "Settings", "Help",    "Add",   "Up",   "Down",
                         "Remove", "Clear",  "Set",      "Split",   "Join",  "Stop", "Help",
                         "Back",   "Play",   "Stop",     "Forward", "Begin", "End",  "OK"}));
  // Pressing through the interface runs the command.
  harness.addFiles({testing::makeWavSource(harness.mediaPath("tone.wav"), 2.2)});
  ASSERT_NE(clear, nullptr);
  ASSERT_NE(clear->actionInterface(), nullptr);
  clear->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(harness.window().sources().count(), 0);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->rect().size(), skin().objectRect("pb").size());
}

}  // namespace
}  // namespace tarvex
