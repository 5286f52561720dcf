#include "controls/accessibility.h"

#include <QPlainTextEdit>
#include <memory>

#include <QLabel>

#include "controls/formula_edit.h"
#include "controls/source_list.h"
#include "controls/source_list_accessible.h"
#include "form/edit/drawing_plan.h"
#include "form/formula.h"

namespace qv {
namespace {

QString labelFor(const QWidget* widget) {
    if (!widget->accessibleName().isEmpty()) return widget->accessibleName();
    const QWidget* parent = widget->parentWidget();
    if (parent == nullptr) return {};
    for (const QLabel* label : parent->findChildren<QLabel*>())
        if (label->buddy() == widget) return label->text().remove(QLatin1Char('&'));
    return {};
}

}  // namespace

FormulaEditAccessible::FormulaEditAccessible(FormulaEdit* edit)
    : QAccessibleWidget(edit, QAccessible::EditableText) {}

FormulaEdit* FormulaEditAccessible::edit() const { return static_cast<FormulaEdit*>(widget()); }

void* FormulaEditAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QString FormulaEditAccessible::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name: return labelFor(edit());
    case QAccessible::Value: return QString::fromStdString(edit()->text());
    default: return QAccessibleWidget::text(t);
    }
}

QAccessible::State FormulaEditAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    s.editable = true;
    s.readOnly = edit()->entry() != nullptr && edit()->entry()->readOnly();
    s.selectableText = true;
    return s;
}

void FormulaEditAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = 0;
    const auto s = edit()->selection();
    if (selectionIndex != 0 || !s) return;
    *startOffset = s->first;
    *endOffset = s->last + 1;
}

int FormulaEditAccessible::selectionCount() const { return edit()->selection() ? 1 : 0; }

void FormulaEditAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void FormulaEditAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0) edit()->setSelection(-1, 0);
}

void FormulaEditAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex != 0 || startOffset == endOffset) return;
    // The editor takes inclusive character indices.
    if (startOffset < endOffset)
        edit()->setSelection(startOffset, endOffset - 1);
    else
        edit()->setSelection(startOffset - 1, endOffset);
}

int FormulaEditAccessible::cursorPosition() const {
    const Formula* entry = edit()->entry();
    return entry ? entry->edit().caret() : 0;
}

void FormulaEditAccessible::setCursorPosition(int position) {
    Formula* entry = edit()->entry();
    if (entry == nullptr) return;
    position = std::clamp(position, 0, entry->edit().length());
    entry->edit().placeCaret(position, position, position);
    ensureCaretVisible(entry->edit(), false);
    edit()->update();
}

QString FormulaEditAccessible::text(int startOffset, int endOffset) const {
    const QString all = QString::fromStdString(edit()->text());
    if (startOffset < 0 || endOffset > all.size() || startOffset > endOffset) return {};
    return all.mid(startOffset, endOffset - startOffset);
}

int FormulaEditAccessible::characterCount() const { return edit()->textLength(); }

QRect FormulaEditAccessible::characterRect(int offset) const {
    const Formula* entry = edit()->entry();
    if (entry == nullptr || offset < 0 || offset >= entry->edit().length()) return {};
    const VerticalLayout v = verticalLayout(entry->style());
    const GlyphCell& cell = entry->edit().cells()[offset];
    const QPoint topLeft =
        edit()->mapToGlobal(edit()->textOrigin() + QPoint(cell.x - entry->edit().view().left, v.caretTop));
    return QRect(topLeft, QSize(cell.width, v.caretBottom - v.caretTop));
}

int FormulaEditAccessible::offsetAtPoint(const QPoint& point) const {
    const Formula* entry = edit()->entry();
    if (entry == nullptr) return -1;
    const QPoint local = edit()->mapFromGlobal(point);
    if (!edit()->contentsRect().contains(local)) return -1;
    const int x = local.x() - edit()->textOrigin().x() + entry->edit().view().left;
    for (int i = 0; i < entry->edit().length(); ++i) {
        const GlyphCell& cell = entry->edit().cells()[i];
        if (x >= cell.x && x < cell.x + cell.width) return i;
    }
    return -1;
}

void FormulaEditAccessible::scrollToSubstring(int startIndex, int) {
    Formula* entry = edit()->entry();
    if (entry == nullptr || startIndex < 0 || startIndex > entry->edit().length()) return;
    setCursorPosition(startIndex);
}

QString FormulaEditAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    *startOffset = *endOffset = offset;
    return {};
}

QAccessibleInterface* accessibleFactory(const QString&, QObject* object) {
    if (auto* edit = qobject_cast<FormulaEdit*>(object)) return new FormulaEditAccessible(edit);
    if (auto* list = qobject_cast<SourceList*>(object)) return new SourceListAccessible(list);
    return nullptr;
}

void installAccessibility() { QAccessible::installFactory(accessibleFactory); }

void announceTextChanges(QPlainTextEdit* box) {
    auto spoken = std::make_shared<QString>(box->toPlainText());
    QObject::connect(box, &QPlainTextEdit::textChanged, box, [box, spoken] {
        QString now = box->toPlainText();
        if (now == *spoken) return;
        if (QAccessible::isActive()) {
            QAccessibleTextUpdateEvent event(box, 0, *spoken, now);
            QAccessible::updateAccessibility(&event);
        }
        *spoken = std::move(now);
    });
}

}  // namespace qv
