#pragma once
// Screen-reader access to the custom controls. installAccessibility()
// registers one factory for all of them (the source list's table lives in
// source_list_accessible.h); call it once after the QApplication exists.

#include <QAccessibleWidget>

class QPlainTextEdit;

namespace qv {

class FormulaEdit;

// An editable text: the formula, its caret and selection, and the name its
// label gives it (the widget's accessible name, else the text of the label
// whose buddy it is).
class FormulaEditAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit FormulaEditAccessible(FormulaEdit* edit);

    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;

    // QAccessibleTextInterface
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

private:
    FormulaEdit* edit() const;
};

// A read-only box whose whole text the program replaces (the status box):
// every new text reaches assistive technology as a text update.
void announceTextChanges(QPlainTextEdit* box);

QAccessibleInterface* accessibleFactory(const QString& className, QObject* object);
void installAccessibility();

}  // namespace qv
