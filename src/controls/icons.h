#pragma once
// The list's fix peg and the two element markers, drawn rather than loaded
// so they stay crisp at any screen scaling. The paint functions fill the
// given square; the icons wrap them for item views and the legend.

#include <QIcon>
#include <QRectF>

class QPainter;

namespace qv {

// A red push pin: round head, short needle to the lower left.
void paintPeg(QPainter& painter, const QRectF& square);
// A red filled square: an element ATOMS.LST marks as a non-metal.
void paintNonMetalMarker(QPainter& painter, const QRectF& square);
// A blue filled circle: a metal.
void paintMetalMarker(QPainter& painter, const QRectF& square);

QIcon pegIcon();
QIcon nonMetalIcon();
QIcon metalIcon();

}  // namespace qv
