#include "gui/window_icon.h"

#include <QPainter>
#include <QPixmap>
#include <QRect>

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

QIcon glyphIcon(const Glyph& glyph) {
    QPixmap image(glyph.width, glyph.height);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    for (std::size_t i = 0; i < glyph.partCount; ++i) {
        const PixelRect& part = glyph.parts[i];
        painter.fillRect(part.left, part.top, part.width, part.height, Qt::black);
    }
    painter.end();
    return QIcon(image);
}

}  // namespace mirudana::gui
