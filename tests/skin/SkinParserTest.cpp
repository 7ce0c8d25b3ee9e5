// Reading skin text: every object kind, comments, styles, and faults reported
// with the line they stand on.
#include <gtest/gtest.h>

#include "components/skin/SkinError.h"
#include "components/skin/SkinParser.h"

namespace tarvex::skin {
namespace {

const char* const kEveryKind = R"(tarvex-skin 1
# a full-line comment
; another comment style
title "Test \"skin\""
color accent #ff8800
color glass #10203040   ; trailing comment with "quotes"

style base
  fill #101010 #202020
  border @accent 2
  radius 4
  font "DejaVu Sans Mono" 15 bold italic
  text-color #ffffff
  align right
  elide middle
  hover.fill #303030
  pressed.text-color @accent
end

style derived : base
  symbol-size 20
  symbol-place top
end

layout Small 200 100
  image  back     0  0 200 100 style=base label="Background"
  button go      10 10  40  20 style=derived symbol=play label="Go; now"
  slider bar     10 40 100  10 max=50 page=10 pos=45
  text   readout 10 60  80  16 text="00:00:00"
  frame  meter   10 80  30   6
  region list   120 10  70  80
end

layout Other 10 10
end
)";

TEST(SkinParser, ReadsEveryObjectKindWithItsAttributes) {
  const SkinDocument document = parseSkinText(QString::fromUtf8(kEveryKind));
  EXPECT_EQ(document.title, QStringLiteral("Test \"skin\""));
  EXPECT_EQ(document.color(QStringLiteral("glass"), Qt::black), QColor(0x10, 0x20, 0x30, 0x40));
  ASSERT_EQ(document.layouts.size(), 2u);
  const SkinLayout* layout = document.findLayout(QStringLiteral("Small"));
  ASSERT_NE(layout, nullptr);
  EXPECT_EQ(layout->size, QSize(200, 100));
  ASSERT_EQ(layout->objects.size(), 6u);

  const SkinObjectSpec* go = layout->find(QStringLiteral("go"));
  ASSERT_NE(go, nullptr);
  EXPECT_EQ(go->kind, SkinObjectKind::Button);
  EXPECT_EQ(go->rect, QRect(10, 10, 40, 20));
  EXPECT_EQ(go->label, QStringLiteral("Go; now"));  // ';' inside quotes is text
  EXPECT_EQ(go->symbol, QStringLiteral("play"));
  EXPECT_EQ(go->line, 27);

  const SkinObjectSpec* bar = layout->find(QStringLiteral("bar"));
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->kind, SkinObjectKind::Slider);
  EXPECT_EQ(bar->maximum, 50);
  EXPECT_EQ(bar->pageSize, 10);
  EXPECT_EQ(bar->position, 40);  // a start position past the span is pulled back

  EXPECT_EQ(layout->find(QStringLiteral("readout"))->kind, SkinObjectKind::Text);
  EXPECT_EQ(layout->find(QStringLiteral("readout"))->text, QStringLiteral("00:00:00"));
  EXPECT_EQ(layout->find(QStringLiteral("list"))->kind, SkinObjectKind::Region);
  EXPECT_EQ(layout->find(QStringLiteral("back"))->kind, SkinObjectKind::Image);
  const SkinObjectSpec* meter = layout->find(QStringLiteral("meter"));
  EXPECT_EQ(meter->kind, SkinObjectKind::Frame);
  // A frame's right edge is exclusive: declared 30 wide, it paints 30 columns.
  EXPECT_EQ(meter->rect.right() - meter->rect.left(), 30);
  EXPECT_EQ(layout->objects.front().name, QStringLiteral("back"));  // drawing order kept
}

TEST(SkinParser, StylesInheritAndStatesFallBackToNormal) {
  const SkinDocument document = parseSkinText(QString::fromUtf8(kEveryKind));
  const SkinStyle& derived =
      document.findLayout(QStringLiteral("Small"))->find(QStringLiteral("go"))->style;
  EXPECT_EQ(derived.name, QStringLiteral("derived"));
  EXPECT_EQ(derived.symbolSize, 20);
  EXPECT_EQ(derived.symbolPlacement, SkinSymbolPlacement::Top);
  EXPECT_EQ(derived.radius, 4);  // from the parent
  EXPECT_EQ(derived.borderWidth, 2);
  EXPECT_EQ(derived.font.family(), QStringLiteral("DejaVu Sans Mono"));
  EXPECT_EQ(derived.font.pixelSize(), 15);
  EXPECT_TRUE(derived.font.bold());
  EXPECT_TRUE(derived.font.italic());
  EXPECT_EQ(derived.elide, Qt::ElideMiddle);

  const SkinStateLook normal = derived.look(SkinDrawState::Normal);
  const SkinStateLook hover = derived.look(SkinDrawState::Hover);
  const SkinStateLook pressed = derived.look(SkinDrawState::Pressed);
  EXPECT_EQ(normal.fill->top, QColor(0x10, 0x10, 0x10));
  EXPECT_EQ(normal.fill->bottom, QColor(0x20, 0x20, 0x20));
  EXPECT_EQ(hover.fill->top, QColor(0x30, 0x30, 0x30));
  EXPECT_EQ(hover.textColor, QColor(Qt::white));           // not set for hover: normal's
  EXPECT_EQ(pressed.fill->top, QColor(0x30, 0x30, 0x30));  // pressed is also hovered
  EXPECT_EQ(pressed.textColor, QColor(0xff, 0x88, 0x00));
}

TEST(SkinParser, AcceptsWindowsLineEndsAndAByteOrderMark) {
  QString text = QString::fromUtf8(kEveryKind);
  text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  text.prepend(QChar(0xFEFF));
  EXPECT_EQ(parseSkinText(text).findLayout(QStringLiteral("Small"))->objects.size(), 6u);
}

struct BadSkin {
  const char* what;
  const char* text;
  int line;
  const char* fragment;
};

class SkinParserFaults : public ::testing::TestWithParam<BadSkin> {};

TEST_P(SkinParserFaults, NamesTheLineAndTheFault) {
  const BadSkin& bad = GetParam();
  try {
    parseSkinText(QString::fromUtf8(bad.text));
    FAIL() << bad.what << ": accepted";
  } catch (const SkinError& error) {
    const QString message = error.message();
    EXPECT_TRUE(message.startsWith(QStringLiteral("line %1: ").arg(bad.line)))
        << bad.what << ": " << message.toStdString();
    EXPECT_TRUE(message.contains(QString::fromUtf8(bad.fragment)))
        << bad.what << ": " << message.toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SkinParserFaults,
    ::testing::Values(
        BadSkin{"no header", "layout A 1 1\nend\n", 1, "tarvex-skin 1"},
        BadSkin{"wrong version", "tarvex-skin 2\n", 1, "tarvex-skin 1"},
        BadSkin{"empty file", "", 1, "no skin"},
        BadSkin{"no layout", "tarvex-skin 1\ncolor a #000000\n", 3, "no layout"},
        BadSkin{"unknown keyword", "tarvex-skin 1\n\nbutton x 0 0 1 1\n", 3,
                "unknown keyword \"button\""},
        BadSkin{"bad colour", "tarvex-skin 1\ncolor a #12345\n", 2, "not a colour"},
        BadSkin{"unknown colour name", "tarvex-skin 1\nstyle s\n  fill @nope\nend\n", 3,
                "unknown colour \"@nope\""},
        BadSkin{"unknown style property", "tarvex-skin 1\nstyle s\n  glow 3\nend\n", 3,
                "unknown style property"},
        BadSkin{"unknown state", "tarvex-skin 1\nstyle s\n  focus.fill #000000\nend\n", 3,
                "unknown state"},
        BadSkin{"state on a fixed property", "tarvex-skin 1\nstyle s\n  hover.radius 3\nend\n", 3,
                "cannot change"},
        BadSkin{"unknown parent style", "tarvex-skin 1\nstyle s : t\nend\n", 2,
                "unknown style \"t\""},
        BadSkin{"style without end", "tarvex-skin 1\nstyle s\n  radius 2\n", 4, "has no \"end\""},
        BadSkin{"layout without end", "tarvex-skin 1\nlayout A 10 10\n  button b 0 0 1 1\n", 4,
                "has no \"end\""},
        BadSkin{"end without block", "tarvex-skin 1\nend\n", 2, "without a style or layout"},
        BadSkin{"unknown kind", "tarvex-skin 1\nlayout A 10 10\n  knob k 0 0 1 1\nend\n", 3,
                "unknown object kind"},
        BadSkin{"missing geometry", "tarvex-skin 1\nlayout A 10 10\n  button b 0 0 1\nend\n", 3,
                "NAME X Y WIDTH HEIGHT"},
        BadSkin{"word for a number", "tarvex-skin 1\nlayout A 10 10\n  button b 0 zero 1 1\nend\n",
                3, "whole number"},
        BadSkin{"huge size", "tarvex-skin 1\nlayout A 10 10\n  button b 0 0 99999 1\nend\n", 3,
                "between 0 and 4096"},
        BadSkin{"negative size", "tarvex-skin 1\nlayout A 10 10\n  text t 0 0 -5 1\nend\n", 3,
                "between 0 and 4096"},
        BadSkin{"duplicate object",
                "tarvex-skin 1\nlayout A 10 10\n  button b 0 0 1 1\n  text b 0 0 1 1\nend\n", 4,
                "declared twice"},
        BadSkin{"duplicate layout", "tarvex-skin 1\nlayout A 1 1\nend\nlayout A 1 1\nend\n", 4,
                "defined twice"},
        BadSkin{"attribute of another kind",
                "tarvex-skin 1\nlayout A 10 10\n  button b 0 0 1 1 max=4\nend\n", 3,
                "has no attribute \"max\""},
        BadSkin{"attribute twice",
                "tarvex-skin 1\nlayout A 10 10\n  button b 0 0 1 1 label=a label=b\nend\n", 3,
                "given twice"},
        BadSkin{"bare word attribute",
                "tarvex-skin 1\nlayout A 10 10\n  button b 0 0 1 1 big\nend\n", 3, "name=value"},
        BadSkin{"unknown symbol",
                "tarvex-skin 1\nlayout A 10 10\n  button b 0 0 1 1 symbol=rocket\nend\n", 3,
                "unknown symbol \"rocket\""},
        BadSkin{"unknown object style",
                "tarvex-skin 1\nlayout A 10 10\n  button b 0 0 1 1 style=nope\nend\n", 3,
                "unknown style"},
        BadSkin{"open quote",
                "tarvex-skin 1\nlayout A 10 10\n  button b 0 0 1 1 label=\"Add\nend\n", 3,
                "not closed"},
        BadSkin{"bad font option", "tarvex-skin 1\nstyle s\n  font \"DejaVu Sans\" 12 heavy\nend\n",
                3, "font option"}));

}  // namespace
}  // namespace tarvex::skin
