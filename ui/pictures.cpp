#include "pictures.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace ui {

namespace {

constexpr int kSize = 16;

QImage emptyPicture() {
    QImage image(kSize, kSize, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

QImage databaseStruckByLightning() {
    QImage image = emptyPicture();
    QPainter painter(&image);
    const QColor outline(128, 128, 0);
    const QColor body(255, 255, 0);
    const QColor top(255, 255, 160);

    // The cylinder: a body between two ellipses, the top one lighter.
    painter.setPen(outline);
    painter.setBrush(body);
    painter.drawEllipse(QRect(1, 10, 10, 4));
    painter.setPen(Qt::NoPen);
    painter.drawRect(QRect(1, 3, 11, 10));
    painter.setPen(outline);
    painter.drawLine(1, 3, 1, 12);
    painter.drawLine(11, 3, 11, 12);
    painter.setBrush(top);
    painter.drawEllipse(QRect(1, 1, 10, 4));

    // The bolt, from the upper right down across the cylinder.
    const QPolygon bolt(
        {QPoint(14, 0), QPoint(8, 7), QPoint(11, 7), QPoint(5, 15), QPoint(9, 9), QPoint(6, 9), QPoint(10, 0)});
    painter.setPen(QColor(0, 0, 128));
    painter.setBrush(QColor(0, 0, 255));
    painter.drawPolygon(bolt);
    return image;
}

// The same picture in shades of grey, lighter than the original, transparency kept.
QImage greyCopy(const QImage& picture) {
    QImage grey = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < grey.height(); ++y) {
        for (int x = 0; x < grey.width(); ++x) {
            const QRgb pixel = grey.pixel(x, y);
            const int level = 96 + qGray(pixel) * 5 / 8;
            grey.setPixel(x, y, qRgba(level, level, level, qAlpha(pixel)));
        }
    }
    return grey;
}

QImage openFolder() {
    QImage image = emptyPicture();
    QPainter painter(&image);
    const QColor outline(128, 128, 0);
    // The back of the folder with its tab.
    painter.setPen(outline);
    painter.setBrush(QColor(255, 255, 160));
    painter.drawPolygon(
        QPolygon({QPoint(1, 3), QPoint(5, 3), QPoint(6, 4), QPoint(12, 4), QPoint(12, 7), QPoint(1, 13)}));
    // The open front flap, tilted forward.
    painter.setBrush(QColor(255, 255, 0));
    painter.drawPolygon(QPolygon({QPoint(1, 13), QPoint(4, 7), QPoint(15, 7), QPoint(12, 13)}));
    return image;
}

}  // namespace

QIcon importPicture() {
    const QImage picture = databaseStruckByLightning();
    QIcon icon;
    icon.addPixmap(QPixmap::fromImage(picture), QIcon::Normal);
    icon.addPixmap(QPixmap::fromImage(greyCopy(picture)), QIcon::Disabled);
    return icon;
}

QIcon browsePicture() { return QIcon(QPixmap::fromImage(openFolder())); }

}  // namespace ui
