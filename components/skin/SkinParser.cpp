#include "components/skin/SkinParser.h"

#include <QSet>
#include <QStringList>
#include <algorithm>
#include <optional>

#include "components/skin/SkinError.h"
#include "components/skin/SkinSymbols.h"

namespace tarvex::skin {

namespace {

constexpr int kMaxCoordinate = 4096;

// One word of a line. `key` is set for key=value words.
struct Token {
  QString key;
  QString value;
  bool hasKey = false;
};

class LineError : public std::exception {
 public:
  explicit LineError(QString text) : text_(std::move(text)) {}
  const QString& text() const { return text_; }

 private:
  QString text_;
};

[[noreturn]] void fail(const QString& text) {
  throw LineError(text);
}

QString quoted(const QString& text) {
  return QLatin1Char('"') + text + QLatin1Char('"');
}

// Splits one line into words. Double quotes group a word that holds spaces
// (\" and \\ escape inside); ';' outside quotes starts a comment.
std::vector<Token> tokenize(const QString& line) {
  std::vector<Token> tokens;
  int i = 0;
  const int n = static_cast<int>(line.size());
  while (i < n) {
    while (i < n && line[i].isSpace()) ++i;
    if (i >= n || line[i] == QLatin1Char(';')) break;
    Token token;
    QString word;
    bool inQuotes = false;
    bool sawQuote = false;
    while (i < n) {
      const QChar c = line[i];
      if (inQuotes) {
        if (c == QLatin1Char('\\') && i + 1 < n &&
            (line[i + 1] == QLatin1Char('"') || line[i + 1] == QLatin1Char('\\'))) {
          word += line[i + 1];
          i += 2;
          continue;
        }
        if (c == QLatin1Char('"')) {
          inQuotes = false;
          ++i;
          continue;
        }
        word += c;
        ++i;
        continue;
      }
      if (c.isSpace() || c == QLatin1Char(';')) break;
      if (c == QLatin1Char('"')) {
        inQuotes = true;
        sawQuote = true;
        ++i;
        continue;
      }
      if (c == QLatin1Char('=') && !token.hasKey && !sawQuote) {
        token.hasKey = true;
        token.key = word;
        word.clear();
        ++i;
        continue;
      }
      word += c;
      ++i;
    }
    if (inQuotes) fail(QStringLiteral("a quoted text is not closed"));
    token.value = word;
    if (token.hasKey && token.key.isEmpty()) fail(QStringLiteral("\"=\" without a name before it"));
    tokens.push_back(token);
  }
  return tokens;
}

int parseInt(const QString& text, int low, int high, const QString& what) {
  bool ok = false;
  const int value = text.toInt(&ok);
  if (!ok) fail(QStringLiteral("%1 must be a whole number, not %2").arg(what, quoted(text)));
  if (value < low || value > high) {
    fail(QStringLiteral("%1 must be between %2 and %3, not %4")
             .arg(what)
             .arg(low)
             .arg(high)
             .arg(value));
  }
  return value;
}

class Parser {
 public:
  SkinDocument run(const QString& text) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    int lineNumber = 0;
    try {
      for (const QString& rawLine : lines) {
        ++lineNumber;
        QString line = rawLine;
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        if (lineNumber == 1 && line.startsWith(QChar(0xFEFF))) line.remove(0, 1);
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')) ||
            trimmed.startsWith(QLatin1Char(';'))) {
          continue;
        }
        handleLine(tokenize(line), lineNumber);
      }
      if (!sawHeader_)
        fail(QStringLiteral("the file holds no skin (the first line must be \"tarvex-skin 1\")"));
      if (style_) fail(QStringLiteral("style %1 has no \"end\"").arg(quoted(style_->name)));
      if (layout_) fail(QStringLiteral("layout %1 has no \"end\"").arg(quoted(layout_->name)));
      if (document_.layouts.empty()) fail(QStringLiteral("the skin has no layout"));
    } catch (const LineError& error) {
      throw SkinError(QStringLiteral("line %1: %2").arg(lineNumber).arg(error.text()));
    }
    return std::move(document_);
  }

 private:
  void handleLine(const std::vector<Token>& tokens, int lineNumber) {
    if (tokens.empty()) return;
    const Token& first = tokens.front();
    if (first.hasKey)
      fail(QStringLiteral("a line must start with a keyword, not %1")
               .arg(quoted(first.key + QLatin1Char('='))));
    const QString keyword = first.value;
    if (!sawHeader_) {
      if (keyword != QLatin1String("tarvex-skin") || tokens.size() != 2 ||
          tokens[1].value != QLatin1String("1")) {
        fail(QStringLiteral("not a skin file (the first line must be \"tarvex-skin 1\")"));
      }
      sawHeader_ = true;
      return;
    }
    if (keyword == QLatin1String("end")) {
      expectCount(tokens, 1, 1, QStringLiteral("end"));
      closeBlock();
      return;
    }
    if (style_) {
      styleProperty(tokens);
      return;
    }
    if (layout_) {
      layoutObject(tokens, lineNumber);
      return;
    }
    if (keyword == QLatin1String("tarvex-skin"))
      fail(QStringLiteral("\"tarvex-skin\" may only stand on the first line"));
    if (keyword == QLatin1String("title")) {
      expectCount(tokens, 2, 2, keyword);
      document_.title = tokens[1].value;
    } else if (keyword == QLatin1String("color")) {
      expectCount(tokens, 3, 3, keyword);
      const QString name = plainWord(tokens[1], QStringLiteral("colour name"));
      document_.colors[name] = parseColor(tokens[2].value);
    } else if (keyword == QLatin1String("style")) {
      beginStyle(tokens);
    } else if (keyword == QLatin1String("layout")) {
      beginLayout(tokens);
    } else {
      fail(QStringLiteral("unknown keyword %1").arg(quoted(keyword)));
    }
  }

  static void expectCount(const std::vector<Token>& tokens, size_t low, size_t high,
                          const QString& keyword) {
    if (tokens.size() < low || tokens.size() > high) {
      fail(QStringLiteral("wrong number of values after %1").arg(quoted(keyword)));
    }
  }

  static QString plainWord(const Token& token, const QString& what) {
    if (token.hasKey || token.value.isEmpty()) fail(QStringLiteral("%1 expected").arg(what));
    return token.value;
  }

  QColor parseColor(const QString& text) const {
    if (text.startsWith(QLatin1Char('@'))) {
      auto found = document_.colors.find(text.mid(1));
      if (found == document_.colors.end())
        fail(QStringLiteral("unknown colour %1").arg(quoted(text)));
      return found->second;
    }
    if (text == QLatin1String("none")) return QColor(0, 0, 0, 0);
    const bool hexLength = text.size() == 7 || text.size() == 9;
    bool ok = hexLength && text.startsWith(QLatin1Char('#'));
    uint value = ok ? text.mid(1).toUInt(&ok, 16) : 0;
    if (!ok)
      fail(QStringLiteral("%1 is not a colour (use #rrggbb, #rrggbbaa, none or @name)")
               .arg(quoted(text)));
    if (text.size() == 7) return QColor(QRgb(0xff000000u | value));
    return QColor((value >> 24) & 0xff, (value >> 16) & 0xff, (value >> 8) & 0xff, value & 0xff);
  }

  SkinFill parseFill(const std::vector<Token>& tokens, const QString& key) const {
    expectCount(tokens, 2, 3, key);
    SkinFill fill;
    fill.top = parseColor(tokens[1].value);
    fill.bottom = tokens.size() == 3 ? parseColor(tokens[2].value) : fill.top;
    return fill;
  }

  QColor singleColor(const std::vector<Token>& tokens, const QString& key) const {
    expectCount(tokens, 2, 2, key);
    return parseColor(tokens[1].value);
  }

  void beginStyle(const std::vector<Token>& tokens) {
    // style NAME  or  style NAME : PARENT
    if (tokens.size() != 2 && !(tokens.size() == 4 && tokens[2].value == QLatin1String(":"))) {
      fail(QStringLiteral("write \"style NAME\" or \"style NAME : PARENT\""));
    }
    const QString name = plainWord(tokens[1], QStringLiteral("style name"));
    if (document_.styles.count(name))
      fail(QStringLiteral("style %1 is defined twice").arg(quoted(name)));
    SkinStyle style = defaultSkinStyle();
    if (tokens.size() == 4) {
      auto parent = document_.styles.find(tokens[3].value);
      if (parent == document_.styles.end())
        fail(QStringLiteral("unknown style %1").arg(quoted(tokens[3].value)));
      style = parent->second;
    }
    style.name = name;
    style_ = style;
  }

  SkinStateLook& stateLook(const QString& prefix) {
    if (prefix == QLatin1String("hover")) return style_->hover;
    if (prefix == QLatin1String("pressed")) return style_->pressed;
    return style_->normal;
  }

  void styleProperty(const std::vector<Token>& tokens) {
    QString key = tokens[0].value;
    QString state;
    const int dot = static_cast<int>(key.indexOf(QLatin1Char('.')));
    if (dot > 0) {
      state = key.left(dot);
      if (state != QLatin1String("hover") && state != QLatin1String("pressed")) {
        fail(QStringLiteral("unknown state %1 (use hover or pressed)").arg(quoted(state)));
      }
      key = key.mid(dot + 1);
    }
    SkinStateLook& look = stateLook(state);
    const QString fullKey = tokens[0].value;
    if (key == QLatin1String("fill")) {
      look.fill = parseFill(tokens, fullKey);
    } else if (key == QLatin1String("border")) {
      expectCount(tokens, 2, 3, fullKey);
      look.border = parseColor(tokens[1].value);
      if (tokens.size() == 3) {
        if (!state.isEmpty()) fail(QStringLiteral("the border width belongs to the normal state"));
        style_->borderWidth = parseInt(tokens[2].value, 0, 16, QStringLiteral("border width"));
      }
    } else if (key == QLatin1String("text-color")) {
      look.textColor = singleColor(tokens, fullKey);
    } else if (key == QLatin1String("symbol-color")) {
      look.symbolColor = singleColor(tokens, fullKey);
    } else if (key == QLatin1String("highlight")) {
      look.highlight = singleColor(tokens, fullKey);
    } else if (key == QLatin1String("shadow")) {
      look.shadow = singleColor(tokens, fullKey);
    } else if (key == QLatin1String("thumb")) {
      look.thumb = parseFill(tokens, fullKey);
    } else if (key == QLatin1String("thumb-border")) {
      look.thumbBorder = singleColor(tokens, fullKey);
    } else if (key == QLatin1String("elapsed")) {
      look.elapsed = parseFill(tokens, fullKey);
    } else if (!state.isEmpty()) {
      fail(QStringLiteral("%1 cannot change with the state").arg(quoted(key)));
    } else {
      layoutProperty(key, tokens);
    }
  }

  // Style properties that do not depend on the hover or pressed state.
  void layoutProperty(const QString& key, const std::vector<Token>& tokens) {
    SkinStyle& style = *style_;
    if (key == QLatin1String("radius")) {
      expectCount(tokens, 2, 2, key);
      style.radius = parseInt(tokens[1].value, 0, 200, QStringLiteral("radius"));
    } else if (key == QLatin1String("font")) {
      // font "Family" SIZE [bold] [italic]
      expectCount(tokens, 3, 5, key);
      QFont font(tokens[1].value);
      font.setPixelSize(parseInt(tokens[2].value, 4, 200, QStringLiteral("font size")));
      for (size_t i = 3; i < tokens.size(); ++i) {
        if (tokens[i].value == QLatin1String("bold")) {
          font.setBold(true);
        } else if (tokens[i].value == QLatin1String("italic")) {
          font.setItalic(true);
        } else {
          fail(QStringLiteral("unknown font option %1 (use bold or italic)")
                   .arg(quoted(tokens[i].value)));
        }
      }
      style.font = font;
    } else if (key == QLatin1String("align")) {
      expectCount(tokens, 2, 2, key);
      const QString& value = tokens[1].value;
      if (value == QLatin1String("left")) {
        style.align = Qt::AlignLeft | Qt::AlignVCenter;
      } else if (value == QLatin1String("center")) {
        style.align = Qt::AlignCenter;
      } else if (value == QLatin1String("right")) {
        style.align = Qt::AlignRight | Qt::AlignVCenter;
      } else {
        fail(QStringLiteral("unknown alignment %1 (use left, center or right)").arg(quoted(value)));
      }
    } else if (key == QLatin1String("elide")) {
      expectCount(tokens, 2, 2, key);
      const QString& value = tokens[1].value;
      if (value == QLatin1String("none")) {
        style.elide = Qt::ElideNone;
      } else if (value == QLatin1String("left")) {
        style.elide = Qt::ElideLeft;
      } else if (value == QLatin1String("middle")) {
        style.elide = Qt::ElideMiddle;
      } else if (value == QLatin1String("right")) {
        style.elide = Qt::ElideRight;
      } else {
        fail(QStringLiteral("unknown elide mode %1 (use none, left, middle or right)")
                 .arg(quoted(value)));
      }
    } else if (key == QLatin1String("padding")) {
      expectCount(tokens, 2, 2, key);
      style.padding = parseInt(tokens[1].value, 0, 200, QStringLiteral("padding"));
    } else if (key == QLatin1String("symbol-size")) {
      expectCount(tokens, 2, 2, key);
      style.symbolSize = parseInt(tokens[1].value, 2, 200, QStringLiteral("symbol size"));
    } else if (key == QLatin1String("symbol-place")) {
      expectCount(tokens, 2, 2, key);
      if (tokens[1].value == QLatin1String("left")) {
        style.symbolPlacement = SkinSymbolPlacement::Left;
      } else if (tokens[1].value == QLatin1String("top")) {
        style.symbolPlacement = SkinSymbolPlacement::Top;
      } else {
        fail(QStringLiteral("unknown symbol place %1 (use left or top)")
                 .arg(quoted(tokens[1].value)));
      }
    } else if (key == QLatin1String("ghost")) {
      expectCount(tokens, 3, 3, key);
      style.ghostText = tokens[1].value;
      style.ghostColor = parseColor(tokens[2].value);
    } else if (key == QLatin1String("groove")) {
      expectCount(tokens, 2, 2, key);
      style.groove = parseInt(tokens[1].value, 0, kMaxCoordinate, QStringLiteral("groove height"));
    } else if (key == QLatin1String("wave")) {
      expectCount(tokens, 2, 2, key);
      style.waveColor = parseColor(tokens[1].value);
    } else if (key == QLatin1String("wave-marked")) {
      expectCount(tokens, 2, 2, key);
      style.waveMarkedColor = parseColor(tokens[1].value);
    } else if (key == QLatin1String("wave-cursor")) {
      expectCount(tokens, 2, 2, key);
      style.waveCursorColor = parseColor(tokens[1].value);
    } else if (key == QLatin1String("thumb-min-width")) {
      expectCount(tokens, 2, 2, key);
      style.thumbMinWidth =
          parseInt(tokens[1].value, 2, kMaxCoordinate, QStringLiteral("thumb width"));
    } else {
      fail(QStringLiteral("unknown style property %1").arg(quoted(key)));
    }
  }

  void beginLayout(const std::vector<Token>& tokens) {
    expectCount(tokens, 4, 4, QStringLiteral("layout"));
    const QString name = plainWord(tokens[1], QStringLiteral("layout name"));
    if (document_.findLayout(name))
      fail(QStringLiteral("layout %1 is defined twice").arg(quoted(name)));
    SkinLayout layout;
    layout.name = name;
    layout.size =
        QSize(parseInt(tokens[2].value, 1, kMaxCoordinate, QStringLiteral("layout width")),
              parseInt(tokens[3].value, 1, kMaxCoordinate, QStringLiteral("layout height")));
    layout_ = layout;
  }

  static std::optional<SkinObjectKind> kindFromWord(const QString& word) {
    if (word == QLatin1String("button")) return SkinObjectKind::Button;
    if (word == QLatin1String("slider")) return SkinObjectKind::Slider;
    if (word == QLatin1String("text")) return SkinObjectKind::Text;
    if (word == QLatin1String("frame")) return SkinObjectKind::Frame;
    if (word == QLatin1String("region")) return SkinObjectKind::Region;
    if (word == QLatin1String("image")) return SkinObjectKind::Image;
    if (word == QLatin1String("waveform")) return SkinObjectKind::Waveform;
    return std::nullopt;
  }

  static bool attributeAllowed(SkinObjectKind kind, const QString& key) {
    if (key == QLatin1String("style")) return true;
    switch (kind) {
      case SkinObjectKind::Button:
      case SkinObjectKind::Image:
        return key == QLatin1String("label") || key == QLatin1String("symbol");
      case SkinObjectKind::Text:
        return key == QLatin1String("text");
      case SkinObjectKind::Slider:
        return key == QLatin1String("max") || key == QLatin1String("page") ||
               key == QLatin1String("pos");
      case SkinObjectKind::Frame:
      case SkinObjectKind::Region:
      case SkinObjectKind::Waveform:
        return false;
    }
    return false;
  }

  void layoutObject(const std::vector<Token>& tokens, int lineNumber) {
    // KIND NAME X Y W H [key=value ...]
    const std::optional<SkinObjectKind> kind = kindFromWord(tokens[0].value);
    if (!kind) {
      fail(
          QStringLiteral(
              "unknown object kind %1 (use button, slider, text, frame, region, image or waveform)")
              .arg(quoted(tokens[0].value)));
    }
    if (tokens.size() < 6)
      fail(QStringLiteral("write \"%1 NAME X Y WIDTH HEIGHT\"").arg(tokens[0].value));
    SkinObjectSpec object;
    object.kind = *kind;
    object.line = lineNumber;
    object.name = plainWord(tokens[1], QStringLiteral("object name"));
    if (layout_->find(object.name))
      fail(QStringLiteral("object %1 is declared twice").arg(quoted(object.name)));
    for (size_t i = 2; i < 6; ++i) {
      if (tokens[i].hasKey)
        fail(QStringLiteral("write \"%1 NAME X Y WIDTH HEIGHT\"").arg(tokens[0].value));
    }
    const int x = parseInt(tokens[2].value, -kMaxCoordinate, kMaxCoordinate, QStringLiteral("x"));
    const int y = parseInt(tokens[3].value, -kMaxCoordinate, kMaxCoordinate, QStringLiteral("y"));
    const int width = parseInt(tokens[4].value, 0, kMaxCoordinate, QStringLiteral("width"));
    const int height = parseInt(tokens[5].value, 0, kMaxCoordinate, QStringLiteral("height"));
    // A frame's right edge is exclusive (its right() is the first column it
    // does not paint), so a frame declared `width` wide paints `width` columns.
    object.rect = object.kind == SkinObjectKind::Frame ? QRect(x, y, width + 1, height)
                                                       : QRect(x, y, width, height);
    object.style = defaultSkinStyle();
    QSet<QString> seen;
    for (size_t i = 6; i < tokens.size(); ++i) {
      const Token& token = tokens[i];
      if (!token.hasKey)
        fail(QStringLiteral("%1 should be written name=value").arg(quoted(token.value)));
      if (!attributeAllowed(object.kind, token.key)) {
        fail(QStringLiteral("a %1 has no attribute %2").arg(tokens[0].value, quoted(token.key)));
      }
      if (seen.contains(token.key))
        fail(QStringLiteral("attribute %1 is given twice").arg(quoted(token.key)));
      seen.insert(token.key);
      objectAttribute(object, token);
    }
    if (object.kind == SkinObjectKind::Slider) {
      object.position =
          std::clamp(object.position, 0, std::max(0, object.maximum - object.pageSize));
    }
    layout_->objects.push_back(object);
  }

  void objectAttribute(SkinObjectSpec& object, const Token& token) {
    const QString& key = token.key;
    if (key == QLatin1String("style")) {
      auto style = document_.styles.find(token.value);
      if (style == document_.styles.end())
        fail(QStringLiteral("unknown style %1").arg(quoted(token.value)));
      object.style = style->second;
    } else if (key == QLatin1String("label")) {
      object.label = token.value;
    } else if (key == QLatin1String("text")) {
      object.text = token.value;
    } else if (key == QLatin1String("symbol")) {
      if (!isKnownSkinSymbol(token.value)) {
        fail(QStringLiteral("unknown symbol %1 (known: %2)")
                 .arg(quoted(token.value), knownSkinSymbols().join(QStringLiteral(", "))));
      }
      object.symbol = token.value;
    } else if (key == QLatin1String("max")) {
      object.maximum = parseInt(token.value, 0, 1 << 30, QStringLiteral("max"));
    } else if (key == QLatin1String("page")) {
      object.pageSize = parseInt(token.value, 0, 1 << 30, QStringLiteral("page"));
    } else if (key == QLatin1String("pos")) {
      object.position = parseInt(token.value, 0, 1 << 30, QStringLiteral("pos"));
    }
  }

  void closeBlock() {
    if (style_) {
      document_.styles[style_->name] = *style_;
      style_.reset();
    } else if (layout_) {
      document_.layouts.push_back(*layout_);
      layout_.reset();
    } else {
      fail(QStringLiteral("\"end\" without a style or layout to close"));
    }
  }

  SkinDocument document_;
  bool sawHeader_ = false;
  std::optional<SkinStyle> style_;
  std::optional<SkinLayout> layout_;
};

}  // namespace

SkinDocument parseSkinText(const QString& text) {
  return Parser().run(text);
}

}  // namespace tarvex::skin
