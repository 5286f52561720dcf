// STUB (local only)
#include "controls/icons.h"
#include <QPainter>
#include <QPixmap>
namespace qv { QIcon pegIcon() { QPixmap pm(64,64); pm.fill(Qt::transparent); QPainter p(&pm); p.setRenderHint(QPainter::Antialiasing); p.setBrush(Qt::red); p.drawEllipse(20,4,24,24); p.drawRect(28,28,8,32); return QIcon(pm); } }
