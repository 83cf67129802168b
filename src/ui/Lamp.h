#pragma once

#include <QColor>
#include <QWidget>

namespace termika {

// The round connection lamp of the status panel.
class Lamp final : public QWidget {
  Q_OBJECT
 public:
  explicit Lamp(QWidget* parent = nullptr);

  QColor color() const { return m_color; }
  void setColor(const QColor& color);
  QSize sizeHint() const override { return {16, 16}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor m_color = Qt::black;
};

}  // namespace termika
