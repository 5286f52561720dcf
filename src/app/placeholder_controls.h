#pragma once
// Stand-ins for the custom controls until their branches land: plain Qt
// widgets with the same names and calls, enough to drive the form.

#include <QCheckBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollArea>
#include <array>

#include "form/edit/width_table.h"
#include "form/formula.h"

namespace qv {

class FormulaFonts {
public:
    // Creates the formula, subscript and list fonts and fills the width table.
    bool create();
    const FormulaStyle& style() const { return style_; }
    QFont listFont() const { return list_; }

private:
    QFont normal_, subscript_, list_;
    WidthTable widths_;
    FontMetrics normalMetrics_, subscriptMetrics_;
    FormulaStyle style_;
};

class FormulaEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit FormulaEdit(QWidget* parent = nullptr);
    int bindEntry(Formula* entry);
    Formula* entry() const { return entry_; }
    // Shows the bound entry's text again after the model changed it.
    void refresh();

signals:
    void moveFocusRequested(bool backward);
    void hiddenMessageRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    Formula* entry_ = nullptr;
};

class RatioEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit RatioEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}
    void setPermanent(bool) {}
signals:
    void moveFocusRequested(bool backward);
};

class FocusFrameView : public QListWidget {
    Q_OBJECT
public:
    explicit FocusFrameView(QWidget* parent = nullptr) : QListWidget(parent) {}
};

struct SourceListConfig {
    int rowCount = kSourceRows;
    std::array<std::unique_ptr<Formula>, kSourceRows>* entries = nullptr;
    QFont font;
    int rowHeight = 0;
    int numberWidth = 3, sourceWidth = 0, fixWidth = 2, ratioWidth = 7;
};

class SourceList : public QScrollArea {
    Q_OBJECT
public:
    explicit SourceList(QWidget* parent = nullptr);
    bool configure(SourceListConfig& config);
    void clearRows();
    void refreshRatioEditor();
    // Shows every row's text, peg and ratio again.
    void refreshRows();
    FormulaEdit* formulaEditor(int row) const { return rows_[row].formula; }
    QLineEdit* ratioEditor(int row) const { return rows_[row].ratio; }
    QCheckBox* peg(int row) const { return rows_[row].peg; }

signals:
    void moveFocusRequested(bool backward);
    void hiddenMessageRequested();

private:
    struct Row {
        FormulaEdit* formula = nullptr;
        QCheckBox* peg = nullptr;
        QLineEdit* ratio = nullptr;
    };
    std::array<Row, kSourceRows> rows_{};
    std::array<std::unique_ptr<Formula>, kSourceRows>* entries_ = nullptr;
};

}  // namespace qv
