#include "gui/window_icon.h"

#include <QPainter>
#include <QPixmap>
#include <QRect>
#include <initializer_list>

namespace mirudana::gui {

QIcon toolIcon() {
    // Colours of the classic 16-colour palette only.
    const QColor navy(0, 0, 128), white(255, 255, 255), silver(192, 192, 192);
    const QColor red(255, 0, 0), yellow(255, 255, 0), black(0, 0, 0);

    QPixmap image(32, 32);
    image.fill(Qt::transparent);
    QPainter painter(&image);

    // The card, standing behind.
    painter.setPen(black);
    painter.setBrush(navy);
    painter.drawRect(2, 1, 17, 24);
    painter.setBrush(red);
    painter.drawEllipse(6, 6, 9, 9);
    painter.setPen(yellow);
    painter.drawLine(10, 8, 10, 13);
    painter.drawLine(8, 10, 12, 10);

    // The report page in front, with its lines of text.
    painter.setPen(black);
    painter.setBrush(white);
    painter.drawRect(13, 9, 16, 21);
    painter.setPen(silver);
    for (int y = 13; y <= 27; y += 3) painter.drawLine(16, y, 26, y);
    painter.end();
    return QIcon(image);
}

namespace {

// A black glyph of `width` by `height` pixels made of the given filled rectangles.
QIcon glyph(int width, int height, std::initializer_list<QRect> parts) {
    QPixmap image(width, height);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    for (const QRect& part : parts) painter.fillRect(part, Qt::black);
    painter.end();
    return QIcon(image);
}

}  // namespace

QIcon browseGlyph() { return glyph(3, 11, {{0, 1, 2, 2}, {0, 5, 2, 2}, {0, 9, 2, 2}}); }

QIcon addFilesGlyph() { return glyph(7, 7, {{3, 0, 1, 7}, {0, 3, 7, 1}}); }

}  // namespace mirudana::gui
