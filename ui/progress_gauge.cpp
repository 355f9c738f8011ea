#include "progress_gauge.h"

#include <QPainter>

namespace ui {

namespace {

const QColor kBar(0, 0, 128);
const QColor kTextOnBar(255, 255, 127);

}  // namespace

ProgressGauge::ProgressGauge(QWidget* parent) : QWidget(parent) {}

template <typename Change>
void ProgressGauge::change(Change apply) {
    const int before = model_.percent();
    apply();
    // Drawn at once, so that progress shows even where no window messages are processed.
    if (model_.percent() != before) repaint();
}

void ProgressGauge::setMinimum(int value) {
    change([&] { model_.setMinimum(value); });
}

void ProgressGauge::setMaximum(int value) {
    change([&] { model_.setMaximum(value); });
}

void ProgressGauge::setPosition(int value) {
    change([&] { model_.setPosition(value); });
}

void ProgressGauge::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));

    const QRect inside = rect().adjusted(1, 1, -1, -1);
    const int barWidth = model_.percent() * inside.width() / 100;
    const QRect bar(inside.left(), inside.top(), barWidth, inside.height());
    painter.fillRect(bar, kBar);

    const QString text = QString::number(model_.percent()) + u'%';
    painter.setFont(font());
    painter.setClipRect(QRect(bar.right() + 1, inside.top(), inside.width() - barWidth, inside.height()));
    painter.setPen(Qt::black);
    painter.drawText(inside, Qt::AlignCenter, text);
    painter.setClipRect(bar);
    painter.setPen(kTextOnBar);
    painter.drawText(inside, Qt::AlignCenter, text);
}

}  // namespace ui
