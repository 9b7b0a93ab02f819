#include "widgets/ArtworkPainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <array>

#include "widgets/Geometry.h"

namespace velmor::widgets::artwork::painter {

namespace {

const QColor kInk(0x0b, 0x0d, 0x14);
const QColor kDeep(0x1b, 0x21, 0x33);
const QColor kSteel(0x3a, 0x45, 0x63);
const QColor kPaper(0xf2, 0xf4, 0xfa);
const QColor kAccent(0x7c, 0x6c, 0xf0);  // violet, the program's own colour
// The four face-button colours of the console, used sparingly as a signature.
const std::array<QColor, 4> kButtons{QColor(0xd8, 0x3a, 0x3a), QColor(0xe8, 0xb9, 0x2e),
                                     QColor(0x3a, 0xa8, 0x5a), QColor(0x3a, 0x6c, 0xd8)};

QFont heavyFont(qreal pixelHeight) {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(qMax(1, qRound(pixelHeight)));
    font.setBold(true);
    return font;
}

// The largest bold font, no taller than maxHeight, in which text fits into width.
QFont fittingFont(const QString& text, qreal width, qreal maxHeight, qreal spacing = 0) {
    for (qreal height = maxHeight; height > 4; height -= 0.5) {
        QFont font = heavyFont(height);
        font.setLetterSpacing(QFont::AbsoluteSpacing, spacing * height);
        if (QFontMetricsF(font).horizontalAdvance(text) <= width) {
            return font;
        }
    }
    return heavyFont(4);
}

QPixmap blank(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void paintField(QPainter& painter, const QRectF& area) {
    QLinearGradient field(area.topLeft(), area.bottomLeft());
    field.setColorAt(0.0, kDeep);
    field.setColorAt(1.0, kInk);
    painter.fillRect(area, field);
    QRadialGradient glow(area.center() + QPointF(0, -area.height() * 0.15), area.width() * 0.45);
    QColor halo = kAccent;
    halo.setAlpha(70);
    glow.setColorAt(0.0, halo);
    glow.setColorAt(1.0, Qt::transparent);
    painter.fillRect(area, glow);
}

void paintWordmark(QPainter& painter, const QRectF& box) {
    const QString word = QStringLiteral("VELMOR");
    const QFont font = fittingFont(word, box.width(), box.height(), 0.08);
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(word);
    const QPointF origin(box.center().x() - width / 2,
                         box.center().y() + (metrics.ascent() - metrics.descent()) / 2);
    QPainterPath path;
    path.addText(origin, font, word);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 140));
    painter.drawPath(path.translated(box.height() * 0.04, box.height() * 0.05));
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0.0, Qt::white);
    fill.setColorAt(1.0, QColor(0xc4, 0xc8, 0xe8));
    painter.setBrush(fill);
    painter.drawPath(path);
}

void paintDots(QPainter& painter, const QPointF& centre, qreal radius) {
    const qreal gap = radius * 3.2;
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
        const qreal x = centre.x() + (static_cast<qreal>(i) - 1.5) * gap;
        painter.setPen(Qt::NoPen);
        painter.setBrush(kButtons[i]);
        painter.drawEllipse(QPointF(x, centre.y()), radius, radius);
    }
}

// A rounded, lit button face with a caption; the pressed form is darker and sunk by a pixel.
QPixmap buttonPicture(const QSize& size, const QString& caption, const QColor& accent,
                      bool pressed) {
    QPixmap pixmap = blank(size.width(), size.height());
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const QRectF body = QRectF(pixmap.rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = qMin(body.height() / 2.5, 6.0);

    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    if (pressed) {
        fill.setColorAt(0.0, kInk);
        fill.setColorAt(1.0, accent.darker(220));
    } else {
        fill.setColorAt(0.0, accent.darker(110));
        fill.setColorAt(0.5, accent.darker(200));
        fill.setColorAt(1.0, kInk);
    }
    painter.setPen(QPen(pressed ? accent.darker(150) : accent.lighter(130), 1.0));
    painter.setBrush(fill);
    painter.drawRoundedRect(body, radius, radius);

    const qreal sink = pressed ? 1.0 : 0.0;
    const QRectF text = body.adjusted(radius, 1 + sink, -radius, sink);
    painter.setFont(fittingFont(caption, text.width(), text.height() * 0.72, 0.06));
    painter.setPen(pressed ? QColor(0xc8, 0xcc, 0xe0) : kPaper);
    painter.drawText(text, Qt::AlignCenter, caption);
    return pixmap;
}

const QColor kLaunch(0x2f, 0xb3, 0x6a);
const QColor kChoose(0x5a, 0x7c, 0xe0);
const QColor kCancel(0xb0, 0x4a, 0x4a);

}  // namespace

QPixmap productLogo() {
    // Drawn at twice the splash's box; both places stretch it.
    QPixmap pixmap = blank(588, 236);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = pixmap.rect();
    paintField(painter, area);
    paintWordmark(painter, QRectF(40, 40, 508, 120));
    painter.setPen(QPen(kSteel, 2));
    painter.drawLine(QPointF(120, 176), QPointF(468, 176));
    paintDots(painter, QPointF(294, 200), 7);
    return pixmap;
}

QPixmap smallLogo() {
    QPixmap pixmap = blank(60, 26);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QRectF area = pixmap.rect();
    painter.setPen(QPen(kSteel, 1));
    painter.setBrush(kInk);
    painter.drawRoundedRect(area.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
    paintWordmark(painter, QRectF(4, 2, 52, 16));
    paintDots(painter, QPointF(30, 21.5), 1.6);
    return pixmap;
}

QPixmap launchFace() {
    return buttonPicture(twipRect(0, 0, 2052, 372).size(), QStringLiteral("LAUNCH"), kLaunch,
                         false);
}
QPixmap launchPressed() {
    return buttonPicture(twipRect(0, 0, 2052, 372).size(), QStringLiteral("LAUNCH"), kLaunch, true);
}
QPixmap chooseGameFace() {
    return buttonPicture(twipRect(0, 0, 2055, 252).size(), QStringLiteral("Choose Game"), kChoose,
                         false);
}
QPixmap chooseGamePressed() {
    return buttonPicture(twipRect(0, 0, 2055, 252).size(), QStringLiteral("Choose Game"), kChoose,
                         true);
}
QPixmap okFace() {
    return buttonPicture(twipRect(0, 0, 1215, 375).size(), QStringLiteral("OK"), kLaunch, false);
}
QPixmap okPressed() {
    return buttonPicture(twipRect(0, 0, 1215, 375).size(), QStringLiteral("OK"), kLaunch, true);
}
QPixmap cancelFace() {
    return buttonPicture(twipRect(0, 0, 1215, 375).size(), QStringLiteral("Cancel"), kCancel,
                         false);
}
QPixmap cancelPressed() {
    return buttonPicture(twipRect(0, 0, 1215, 375).size(), QStringLiteral("Cancel"), kCancel, true);
}

QPixmap icon(int side) {
    QPixmap pixmap = blank(side, side);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(pixmap.rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(area.topLeft(), area.bottomLeft());
    fill.setColorAt(0.0, kDeep);
    fill.setColorAt(1.0, kInk);
    painter.setPen(QPen(kAccent, qMax(1.0, side / 32.0)));
    painter.setBrush(fill);
    painter.drawRoundedRect(area, side * 0.2, side * 0.2);
    QFont font = heavyFont(side * 0.62);
    painter.setFont(font);
    painter.setPen(kPaper);
    painter.drawText(area.adjusted(0, -side * 0.06, 0, -side * 0.06), Qt::AlignCenter,
                     QStringLiteral("V"));
    if (side >= 32) {
        paintDots(painter, QPointF(side / 2.0, side * 0.84), side / 40.0);
    }
    painter.end();
    return pixmap;
}

namespace {

// A sheet of paper with its top right corner folded, the shape file managers show for files;
// returns the area left for the sheet's mark.
QRectF paintPage(QPainter& painter, int side) {
    const qreal s = side;
    const qreal left = s * 0.16;
    const qreal right = s * 0.84;
    const qreal top = s * 0.06;
    const qreal bottom = s * 0.94;
    const qreal fold = s * 0.22;
    QPainterPath page;
    page.moveTo(left, top);
    page.lineTo(right - fold, top);
    page.lineTo(right, top + fold);
    page.lineTo(right, bottom);
    page.lineTo(left, bottom);
    page.closeSubpath();
    QLinearGradient fill(QPointF(0, top), QPointF(0, bottom));
    fill.setColorAt(0.0, kPaper);
    fill.setColorAt(1.0, QColor(0xd6, 0xda, 0xea));
    painter.setPen(QPen(kSteel, qMax(1.0, s / 32.0)));
    painter.setBrush(fill);
    painter.drawPath(page);
    QPainterPath corner;
    corner.moveTo(right - fold, top);
    corner.lineTo(right - fold, top + fold);
    corner.lineTo(right, top + fold);
    corner.closeSubpath();
    painter.setBrush(QColor(0xb8, 0xbe, 0xd8));
    painter.drawPath(corner);
    return QRectF(left + s * 0.08, top + fold + s * 0.04, right - left - s * 0.16,
                  bottom - top - fold - s * 0.1);
}

}  // namespace

QPixmap playlistIcon(int side) {
    QPixmap pixmap = blank(side, side);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = paintPage(painter, side);
    // Three entries of a list, each a coloured point and a line of text.
    const int rows = 3;
    const qreal step = area.height() / rows;
    for (int row = 0; row < rows; ++row) {
        const qreal y = area.top() + step * (row + 0.5);
        const qreal radius = qMax(1.0, step * 0.2);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kButtons[static_cast<std::size_t>(row) + 1]);
        painter.drawEllipse(QPointF(area.left() + radius, y), radius, radius);
        painter.setPen(QPen(kDeep, qMax(1.0, step * 0.22), Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(area.left() + radius * 3, y), QPointF(area.right(), y));
    }
    return pixmap;
}

QPixmap musicIcon(int side) {
    QPixmap pixmap = blank(side, side);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = paintPage(painter, side);
    // Two quavers joined by a beam, in the program's colour.
    const qreal head = area.width() * 0.17;
    const qreal stem = qMax(1.0, side / 20.0);
    const QPointF first(area.left() + head * 1.2, area.bottom() - head * 0.9);
    const QPointF second(area.right() - head * 1.2, area.bottom() - head * 1.4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kAccent.darker(130));
    for (const QPointF& note : {first, second}) {
        painter.save();
        painter.translate(note);
        painter.rotate(-20);
        painter.drawEllipse(QPointF(0, 0), head * 1.2, head * 0.85);
        painter.restore();
    }
    const qreal firstTop = area.top() + area.height() * 0.12;
    const qreal secondTop = firstTop - (first.y() - second.y()) * 0.2;
    const qreal firstX = first.x() + head * 1.05;
    const qreal secondX = second.x() + head * 1.05;
    painter.fillRect(QRectF(firstX - stem, firstTop, stem, first.y() - firstTop),
                     kAccent.darker(130));
    painter.fillRect(QRectF(secondX - stem, secondTop, stem, second.y() - secondTop),
                     kAccent.darker(130));
    QPainterPath beam;
    const qreal thick = qMax(1.5, area.height() * 0.14);
    beam.moveTo(firstX - stem, firstTop);
    beam.lineTo(secondX, secondTop);
    beam.lineTo(secondX, secondTop + thick);
    beam.lineTo(firstX - stem, firstTop + thick);
    beam.closeSubpath();
    painter.drawPath(beam);
    return pixmap;
}

}  // namespace velmor::widgets::artwork::painter
