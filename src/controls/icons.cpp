#include "controls/icons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace qv {
namespace {

const QColor kRed(200, 24, 24);
const QColor kDarkRed(120, 10, 10);
const QColor kBlue(30, 80, 200);
const QColor kDarkBlue(15, 40, 120);

using PaintFn = void (*)(QPainter&, const QRectF&);

// Paints at whatever size and pixel ratio the view asks for.
class PaintedIconEngine : public QIconEngine {
public:
    explicit PaintedIconEngine(PaintFn paint) : paint_(paint) {}
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        if (mode == QIcon::Disabled) painter->setOpacity(0.4);
        const qreal side = std::min(rect.width(), rect.height());
        paint_(*painter, QRectF(rect.x() + (rect.width() - side) / 2, rect.y() + (rect.height() - side) / 2,
                                side, side));
        painter->restore();
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }
    // Qt asks in device pixels and names the ratio they are meant for.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        QPixmap pixmap(size);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), (QSizeF(size) / scale).toSize()), mode, state);
        return pixmap;
    }
    QIconEngine* clone() const override { return new PaintedIconEngine(paint_); }

private:
    PaintFn paint_;
};

// A margin of an eighth keeps the shapes off the cell's edge.
QRectF inset(const QRectF& square) {
    const qreal m = square.width() / 8;
    return square.adjusted(m, m, -m, -m);
}

// A filled shape with a darker edge, on half-pixel lines so it stays sharp.
void paintMarker(QPainter& painter, const QRectF& square, const QColor& fill, const QColor& edge,
                 bool round) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = inset(square).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(edge, 1.0));
    painter.setBrush(fill);
    if (round)
        painter.drawEllipse(r);
    else
        painter.drawRect(r);
    painter.restore();
}

}  // namespace

void paintPeg(QPainter& painter, const QRectF& square) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF r = inset(square);
    const qreal s = r.width();
    // Needle from the head's centre to the lower-left corner.
    painter.setPen(QPen(QColor(90, 90, 90), std::max<qreal>(1.0, s / 10), Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(r.left() + s * 0.55, r.top() + s * 0.45), QPointF(r.left(), r.bottom()));
    const QRectF head(r.left() + s * 0.35, r.top(), s * 0.65, s * 0.65);
    painter.setPen(QPen(kDarkRed, std::max<qreal>(1.0, s / 16)));
    painter.setBrush(kRed);
    painter.drawEllipse(head);
    // A highlight makes it read as a round pin head rather than a dot.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 150));
    painter.drawEllipse(QRectF(head.left() + head.width() * 0.22, head.top() + head.height() * 0.2,
                               head.width() * 0.28, head.height() * 0.28));
    painter.restore();
}

void paintNonMetalMarker(QPainter& painter, const QRectF& square) {
    paintMarker(painter, square, kRed, kDarkRed, false);
}

void paintMetalMarker(QPainter& painter, const QRectF& square) {
    paintMarker(painter, square, kBlue, kDarkBlue, true);
}

QIcon pegIcon() { return QIcon(new PaintedIconEngine(paintPeg)); }
QIcon nonMetalIcon() { return QIcon(new PaintedIconEngine(paintNonMetalMarker)); }
QIcon metalIcon() { return QIcon(new PaintedIconEngine(paintMetalMarker)); }

}  // namespace qv
