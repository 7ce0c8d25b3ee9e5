// The default skin as the user sees it: drawn, dressed with the program's own
// widgets, hover and pressed states, and the progress bar. Set
// TARVEX_SKIN_SNAPSHOT_DIR to a folder to get the pictures as PNG files.
#include <gtest/gtest.h>

#include <cmath>

#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>

#include "components/skin/SkinWidget.h"
#include "tests/skin/SkinTestSupport.h"

namespace tarvex::skin {
namespace {

using testing::saveSnapshotIfAsked;

// The skin with lists, format selector and instructions placed over its
// regions the way the main window places them.
struct DressedSkin {
  SkinWidget skin;
  QTreeWidget* sources = nullptr;
  QTreeWidget* pieces = nullptr;
  QComboBox* format = nullptr;
  QPlainTextEdit* instructions = nullptr;

  DressedSkin() {
    skin.selectLayout(QStringLiteral("Plaskett"));
    skin.setStyleSheet(skin.widgetStyleSheet());
    sources = makeList(QStringLiteral("lv"), {QStringLiteral("File name"), QStringLiteral("Time")},
                       {120, 0});
    pieces = makeList(
        QStringLiteral("lv_time"),
        {QStringLiteral("Begin Time - End"), QStringLiteral("Length"), QStringLiteral("Status")},
        {100, 55, 60});
    format = new QComboBox(&skin);
    format->addItem(QStringLiteral("MP3"));
    format->setGeometry(skin.objectRect(QStringLiteral("cb_format")));
    instructions = new QPlainTextEdit(&skin);
    instructions->setGeometry(skin.objectRect(QStringLiteral("sm")));
    instructions->setReadOnly(true);
    instructions->setEnabled(false);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    font.setItalic(true);
    instructions->setFont(font);
    instructions->setPlainText(QStringLiteral(
        "\n \n    1. Click \"Add\" to add files you want to convert\n"
        "    2. Set begin-time/end-time for every file.\n    3. Click \"OK\" button to notarize.\n"
        "    4. Set Output Format\n    5. To cut piece from one big audio file, Click \"Split\"\n"
        "    6. To marge multiple files into one big file, Click \n\"Join\"\n"
        "    7. To terminate the conversion, click \"Stop\" button. "));
  }

  QTreeWidget* makeList(const QString& region, const QStringList& headers,
                        const QList<int>& widths) {
    auto* list = new QTreeWidget(&skin);
    list->setGeometry(skin.objectRect(region));
    list->setHeaderLabels(headers);
    list->setRootIsDecorated(false);
    for (int i = 0; i < widths.size(); ++i) list->setColumnWidth(i, widths[i]);
    list->header()->setStretchLastSection(false);
    return list;
  }

  void fillLikeAUser() {
    instructions->hide();
    for (const char* name :
         {"Morning Broadcast.mp3", "Interview part 2.mp3", "Field recording.mp3"}) {
      new QTreeWidgetItem(sources, {QString::fromLatin1(name), QStringLiteral("125")});
    }
    sources->setCurrentItem(sources->topLevelItem(0));
    const char* rows[][3] = {{"00:00:00 - 00:01:00", "00:01:00", "Finish"},
                             {"00:01:00 - 00:02:00", "00:01:00", "Converting"},
                             {"00:02:00 - 00:02:05", "00:00:05", "Unconvert"}};
    for (const auto& row : rows) {
      new QTreeWidgetItem(pieces, {QString::fromLatin1(row[0]), QString::fromLatin1(row[1]),
                                   QString::fromLatin1(row[2])});
    }
    skin.findObject(QStringLiteral("nm"))
        ->setText(QStringLiteral("/home/user/Music/Morning Broadcast.mp3"));
    skin.findObject(QStringLiteral("tataltime"))->setText(QStringLiteral("00:02:05"));
    skin.findObject(QStringLiteral("timecaption"))->setText(QStringLiteral("00:00:42"));
    SkinObject* bar = skin.findObject(QStringLiteral("pb"));
    bar->setMaximum(1100);
    bar->setPageSize(52);
    bar->setPosition(367);
    skin.findObject(QStringLiteral("pbpos"))->setText(QStringLiteral("50%"));
    skin.findObject(QStringLiteral("convertpb"))->setFrameWidth(170);
    // A speech-like waveform with a pause, the first piece marked, playing at a third.
    std::vector<float> low, high;
    for (int column = 0; column < 340; ++column) {
      const bool pause = column > 150 && column < 175;
      const float level =
          pause ? 0.01f
                : 0.25f + 0.6f * std::abs(std::sin(column * 0.21f) * std::cos(column * 0.05f));
      low.push_back(-level);
      high.push_back(level * 0.95f);
    }
    SkinObject* wave = skin.findObject(QStringLiteral("wave"));
    wave->setWaveform(low, high);
    wave->setWaveSpans({{0.0, 0.48}});
    wave->setWaveCursor(0.334);
  }

  void showAndWait() {
    skin.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&skin));
  }
};

QImage picture(QWidget& widget) {
  return widget.grab().toImage();
}

bool looksAmber(QColor color) {
  return color.red() > 180 && color.green() > 90 && color.blue() < 110;
}
bool looksDark(QColor color) {
  return color.lightness() < 50;
}

TEST(SkinLook, DefaultSkinFillsTheWindowAndShowsEveryProgramObject) {
  DressedSkin dressed;
  dressed.fillLikeAUser();
  dressed.showAndWait();
  EXPECT_EQ(dressed.skin.size(), QSize(547, 421));
  saveSnapshotIfAsked(dressed.skin, QStringLiteral("skin-default"));
  const QImage image = picture(dressed.skin);
  // Every clickable object draws something that stands out from its
  // surroundings (a face, a caption or a symbol), never an empty area.
  for (const QString& name : testing::programObjectNames()) {
    SkinObject* object = dressed.skin.findObject(name);
    ASSERT_NE(object, nullptr) << name.toStdString();
    if (object->kind() != SkinObjectKind::Button) continue;
    const QRect area = dressed.skin.objectRect(name);
    QSet<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); y += 2) {
      for (int x = area.left(); x <= area.right(); x += 2) colours.insert(image.pixel(x, y));
    }
    EXPECT_GT(colours.size(), 8) << name.toStdString() << " looks blank";
  }
  // The job buttons carry the accent colour.
  EXPECT_TRUE(looksAmber(image.pixelColor(
      dressed.skin.objectRect(QStringLiteral("Split")).topLeft() + QPoint(8, 40))));
}

TEST(SkinLook, ProgressFrameAtHalfFillsHalfOfItsTrough) {
  DressedSkin dressed;
  dressed.showAndWait();
  SkinObject* progress = dressed.skin.findObject(QStringLiteral("convertpb"));
  ASSERT_NE(progress, nullptr);
  const QRect start = progress->rect();
  progress->setFrameWidth(170);
  const QImage half = picture(dressed.skin);
  const int y = start.center().y();
  EXPECT_TRUE(looksAmber(half.pixelColor(start.left() + 20, y)));
  EXPECT_TRUE(looksAmber(half.pixelColor(start.left() + 160, y)));
  EXPECT_TRUE(looksDark(half.pixelColor(start.left() + 185, y)));
  EXPECT_TRUE(looksDark(half.pixelColor(start.left() + 330, y)));

  // At 0 the trough is empty, at 340 it is full and the bar stays inside the trough.
  progress->setFrameWidth(0);
  EXPECT_TRUE(looksDark(picture(dressed.skin).pixelColor(start.left() + 1, y)));
  progress->setFrameWidth(340);
  const QImage full = picture(dressed.skin);
  EXPECT_TRUE(looksAmber(full.pixelColor(start.left() + 335, y)));
  EXPECT_TRUE(dressed.skin.objectRect(QStringLiteral("trough"))
                  .contains(dressed.skin.objectRect(QStringLiteral("convertpb"))));
}

TEST(SkinLook, ButtonsShowHoverAndPressedStates) {
  DressedSkin dressed;
  dressed.fillLikeAUser();
  dressed.showAndWait();
  const QRect area = dressed.skin.objectRect(QStringLiteral("Remove"));
  const QPoint probe = area.topLeft() + QPoint(area.width() - 8, 6);
  const QColor normal = picture(dressed.skin).pixelColor(probe);

  QTest::mouseMove(&dressed.skin, area.center());
  const QImage hovered = picture(dressed.skin);
  saveSnapshotIfAsked(dressed.skin, QStringLiteral("skin-hover-remove"));
  EXPECT_NE(hovered.pixelColor(probe), normal);

  QTest::mousePress(&dressed.skin, Qt::LeftButton, {}, area.center());
  const QImage pressed = picture(dressed.skin);
  saveSnapshotIfAsked(dressed.skin, QStringLiteral("skin-pressed-remove"));
  EXPECT_NE(pressed.pixelColor(probe), hovered.pixelColor(probe));
  EXPECT_NE(pressed.pixelColor(probe), normal);

  // Dragged off while held, the button no longer looks pressed.
  QTest::mouseMove(&dressed.skin, QPoint(300, 200));
  EXPECT_EQ(picture(dressed.skin).pixelColor(probe), normal);
  QTest::mouseRelease(&dressed.skin, Qt::LeftButton, {}, QPoint(300, 200));
}

TEST(SkinLook, EmptyListShowsTheInstructions) {
  DressedSkin dressed;
  dressed.showAndWait();
  saveSnapshotIfAsked(dressed.skin, QStringLiteral("skin-empty"));
  EXPECT_TRUE(dressed.instructions->isVisible());
  EXPECT_EQ(dressed.instructions->geometry().topLeft(), QPoint(120, 92));
}

}  // namespace
}  // namespace tarvex::skin
