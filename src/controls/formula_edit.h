#pragma once
// STUB (local only)
#include <QWidget>
namespace qv { struct Formula;
class FormulaEdit : public QWidget {
Q_OBJECT
public: explicit FormulaEdit(QWidget* p=nullptr); int bindEntry(Formula*);
Formula* entry() const { return entry_; }
signals: void moveFocusRequested(bool); void stepRequested(bool); void pageRequested(int); void hiddenMessageRequested();
protected: bool event(QEvent*) override; void keyPressEvent(QKeyEvent*) override; void focusInEvent(QFocusEvent*) override; void focusOutEvent(QFocusEvent*) override; void paintEvent(QPaintEvent*) override;
private: Formula* entry_ = nullptr; };}
