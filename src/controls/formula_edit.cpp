// STUB (local only)
#include "controls/formula_edit.h"
#include <QKeyEvent>
#include <QPainter>
#include "form/edit/edit_buffer.h"
#include "form/formula.h"
#include "form/edit/key_codes.h"
#include "form/model.h"
namespace qv {
FormulaEdit::FormulaEdit(QWidget* p) : QWidget(p) { setFocusPolicy(Qt::StrongFocus); setAttribute(Qt::WA_OpaquePaintEvent); }
int FormulaEdit::bindEntry(Formula* f) { if (entry_) releaseView(entry_->edit); entry_ = f; if (f) bindView(f->edit, width(), height()); return 0; }
bool FormulaEdit::event(QEvent* e) { if (e->type()==QEvent::KeyPress) { auto* k=static_cast<QKeyEvent*>(e); if (k->key()==Qt::Key_Tab||k->key()==Qt::Key_Backtab) { keyPressEvent(k); return true; } } return QWidget::event(e); }
void FormulaEdit::keyPressEvent(QKeyEvent* e) {
  if (!entry_) return; bool shift = e->modifiers() & Qt::ShiftModifier;
  auto post=[this](auto f){ QMetaObject::invokeMethod(this, f, Qt::QueuedConnection); };
  switch (e->key()) {
  case Qt::Key_Tab: case Qt::Key_Backtab: emit moveFocusRequested(shift||e->key()==Qt::Key_Backtab); return;
  case Qt::Key_Return: post([this,shift]{ emit stepRequested(shift);}); return;
  case Qt::Key_Up: post([this]{ emit stepRequested(true);}); return;
  case Qt::Key_Down: post([this]{ emit stepRequested(false);}); return;
  case Qt::Key_PageUp: post([this]{ emit pageRequested(kKeyPageUp);}); return;
  case Qt::Key_PageDown: post([this]{ emit pageRequested(kKeyPageDown);}); return;
  default: break; }
  QString t = e->text(); if (t.size()==1 && insertChar(entry_->edit, t[0].toLatin1(), true)) { entry_->model->textChanged(*entry_); update(); }
}
void FormulaEdit::focusInEvent(QFocusEvent*) { if (entry_) focusGained(entry_->edit); update(); }
void FormulaEdit::focusOutEvent(QFocusEvent* e) { if (entry_) focusLost(entry_->edit); if (entry_ && entry_->inList && e->reason()!=Qt::PopupFocusReason) hide(); }
void FormulaEdit::paintEvent(QPaintEvent*) { QPainter p(this); p.fillRect(rect(), Qt::white); if (entry_) p.drawText(rect(), Qt::AlignVCenter, QString::fromStdString(entry_->text())); }
}
