#pragma once

#include <QComboBox>
#include <QFont>
#include <QStringList>

namespace tarvex {

// The output-format selector. The skin gives it a narrow field: when a
// row's caption does not fit, the closed box shows that row's short face
// instead (the open list and the tool tip keep the full caption), so a
// long caption is never cut off mid-word.
class FormatSelector : public QComboBox {
  Q_OBJECT
 public:
  FormatSelector(const QStringList& captions, const QStringList& faces, QWidget* parent = nullptr);

  // The text the closed box shows for its current row.
  QString faceText() const;

 protected:
  QFont faceFont(const QString& face, int width) const;
  void paintEvent(QPaintEvent* event) override;
  void showPopup() override;

 private:
  QStringList faces_;
};

}  // namespace tarvex
