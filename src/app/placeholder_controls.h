#pragma once
// Stand-ins for the source list, the ratio edit and the list-view manners
// until their branch lands: the same names and calls, plain widgets inside.

#include <QCheckBox>
#include <QColor>
#include <QLineEdit>
#include <QScrollArea>
#include <array>

#include "controls/formula_edit.h"
#include "controls/formula_fonts.h"
#include "form/formula.h"

namespace qv {

class Model;

class RatioEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit RatioEdit(QWidget* parent = nullptr, bool stayVisible = false)
        : QLineEdit(parent), stayVisible_(stayVisible) {}
signals:
    void moveFocusRequested(bool backward);
private:
    bool stayVisible_;
};

class FocusFrameView : public QObject {
    Q_OBJECT
public:
    explicit FocusFrameView(QWidget* view) : QObject(view) {}
};

QWidget* nextTabStop(QWidget* from, bool backward);

struct SourceListConfig {
    Model* model = nullptr;
    int rowCount = 30;
    const FormulaFonts* fonts = nullptr;
    QColor background{254, 251, 209};
    int rowHeight = 0;
    int borderWidth = 0;
    int numberWidth = 3;
    int materialWidth = 0;
    int fixWidth = 2;
    int ratioWidth = 7;
};

class SourceList : public QScrollArea {
    Q_OBJECT
public:
    enum Column { NumberColumn, MaterialColumn, FixColumn, RatioColumn };

    explicit SourceList(QWidget* parent = nullptr);
    bool configure(SourceListConfig& config);
    int columnX(Column column) const;
    int columnWidth(Column column) const;
    int firstVisibleRow() const { return 0; }
    QRect cellRect(int screenRow, Column column) const;
    FormulaEdit* formulaEditor() const { return rows_[current_].formula; }
    RatioEdit* ratioEditor() const { return rows_[current_].ratio; }
    void clearRows();
    void refreshRatioEditor() { repaintRows(); }
    void repaintRows();

signals:
    void moveFocusRequested(bool backward);
    void hiddenMessageRequested();

protected:
    bool viewportEvent(QEvent* event) override;

private:
    struct Row {
        FormulaEdit* formula = nullptr;
        QCheckBox* peg = nullptr;
        RatioEdit* ratio = nullptr;
    };
    std::array<Row, kSourceRows> rows_{};
    Model* model_ = nullptr;
    int current_ = 0;
};

}  // namespace qv
