#include "app/Tfm_about.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AboutPicture.h"
#include "app/ApplicationInfo.h"
#include "app/ContactAddresses.h"
#include "app/HelpCommands.h"
#include "components/skin/SkinStyleSheet.h"

namespace tarvex {
namespace {

// The colour of the two lines that say what the program does: the accent of
// the window's own title.
const QString kLineStyle = QStringLiteral("color: #e9a04a;");
const QString kLinkColour = QStringLiteral("#5aa9f0");

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QLatin1String(name));
  return label;
}

// A label whose whole text is one underlined link to `target`.
QLabel* makeLink(QWidget* parent, const char* name, const QString& shown, const QString& target) {
  auto* link = new QLabel(parent);
  link->setObjectName(QLatin1String(name));
  link->setTextFormat(Qt::RichText);
  link->setText(QStringLiteral("<a href=\"%1\" style=\"color: %2; text-decoration: underline;\">"
                               "%3</a>")
                    .arg(target.toHtmlEscaped(), kLinkColour, shown.toHtmlEscaped()));
  link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  link->setOpenExternalLinks(false);
  link->setCursor(Qt::PointingHandCursor);
  link->setToolTip(target);
  return link;
}

QHBoxLayout* captionedRow(QWidget* parent, const char* name, const QString& caption,
                          QWidget* value) {
  auto* row = new QHBoxLayout;
  row->setSpacing(0);
  QLabel* label = makeLabel(parent, name, caption);
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  row->addWidget(label, 0, Qt::AlignTop);
  row->addWidget(value, 0, Qt::AlignTop);
  row->addStretch(1);
  return row;
}

}  // namespace

Tfm_about::Tfm_about(PlatformServices& platform, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      platform_(platform) {
  setObjectName(QStringLiteral("fm_about"));
  setWindowTitle(kAboutCaption);
  setFixedSize(kClientWidth, kClientHeight);
  setModal(true);
  QFont dialogFont = font();
  dialogFont.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("Liberation Sans"),
                          QStringLiteral("Arial"), dialogFont.family()});
  dialogFont.setPixelSize(11);
  setFont(dialogFont);

  GroupBox1 = new QGroupBox(this);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  GroupBox1->setGeometry(8, 6, kClientWidth - 16, kClientHeight - 6 - 43);

  Image1 = makeLabel(GroupBox1, "Image1", QString());
  Image1->setFixedSize(36, 36);
  Image1->setPixmap(aboutPicture());

  lbl_title = makeLabel(GroupBox1, "lbl_title", kMainWindowCaption);
  QFont titleFont = dialogFont;
  titleFont.setBold(true);
  titleFont.setPixelSize(13);
  lbl_title->setFont(titleFont);
  lbl_version = makeLabel(GroupBox1, "lbl_version", QStringLiteral("Version: ") + kAboutVersion);
  lbl_line1 = makeLabel(GroupBox1, "lbl_line1",
                        QStringLiteral("Cut a new small file from a large mp3 file. "));
  lbl_line2 = makeLabel(GroupBox1, "lbl_line2",
                        QStringLiteral("Marge multiple mp3 files to a large new one"));
  for (QLabel* line : {lbl_line1, lbl_line2}) {
    line->setStyleSheet(kLineStyle);
    line->setWordWrap(true);
  }
  lbl_web = makeLink(GroupBox1, "lbl_web", kWebAddress, kWebAddress);
  lbl_sales = makeLink(GroupBox1, "lbl_sales", kSalesMailAddress,
                       QStringLiteral("mailto:") + kSalesMailAddress);
  lbl_support = makeLink(GroupBox1, "lbl_support", kSupportMailAddress,
                         QStringLiteral("mailto:") + kSupportMailAddress);
  connect(lbl_web, &QLabel::linkActivated, this, [this] { openWebSite(platform_, this); });
  connect(lbl_sales, &QLabel::linkActivated, this,
          [this] { openMailTo(platform_, this, kSalesMailAddress); });
  connect(lbl_support, &QLabel::linkActivated, this,
          [this] { openMailTo(platform_, this, kSupportMailAddress); });

  auto* mailLinks = new QVBoxLayout;
  mailLinks->setSpacing(3);
  mailLinks->addWidget(lbl_sales);
  mailLinks->addWidget(lbl_support);
  auto* mailColumn = new QWidget(GroupBox1);
  mailColumn->setLayout(mailLinks);
  mailLinks->setContentsMargins(0, 0, 0, 0);

  auto* column = new QVBoxLayout(GroupBox1);
  column->setContentsMargins(12, 14, 12, 12);
  column->setSpacing(4);
  column->addWidget(Image1, 0, Qt::AlignHCenter);
  column->addSpacing(4);
  column->addWidget(lbl_title, 0, Qt::AlignHCenter);
  column->addWidget(lbl_version, 0, Qt::AlignHCenter);
  column->addSpacing(10);
  column->addWidget(lbl_line1);
  column->addWidget(lbl_line2);
  column->addSpacing(10);
  column->addLayout(captionedRow(GroupBox1, "lbl_website", QStringLiteral("Website:  "), lbl_web));
  column->addLayout(captionedRow(GroupBox1, "lbl_email", QStringLiteral("E-mail:  "), mailColumn));
  column->addStretch(1);

  btn_ok = new QPushButton(QStringLiteral("OK"), this);
  btn_ok->setObjectName(QStringLiteral("btn_ok"));
  btn_ok->setGeometry((kClientWidth - 75) / 2, kClientHeight - 33, 75, 25);
  btn_ok->setDefault(true);
  connect(btn_ok, &QPushButton::clicked, this, &QDialog::accept);

  skin::giveControlsDialogFont(*this, dialogFont);
}

void Tfm_about::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void Tfm_about::FormShow() {
  if (QWidget* owner = parentWidget()) move(owner->window()->frameGeometry().topLeft());
}

}  // namespace tarvex
