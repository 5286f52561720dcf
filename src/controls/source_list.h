#pragma once
// The source material list: a scrolling grid of the thirty source rows with
// the columns "No.", "Source Material", "Fix" and "Ratio". It paints every row
// itself and edits in place with two child editors moved over the cell being
// edited: a FormulaEdit for the formula and a RatioEdit for the ratio. A click
// in the Fix column toggles the peg; the keyboard walks the cells in reading
// order (row 0 formula, row 0 ratio, row 1 formula, ...).

#include <QAbstractScrollArea>
#include <QColor>
#include <QPixmap>
#include <QString>
#include <vector>

namespace qv {

class Model;
class Formula;
class FormulaEdit;
class FormulaFonts;
class RatioEdit;

// What the main window hands the list once. Widths are in characters on the
// way in and in device-independent pixels on the way out.
struct SourceListConfig {
    Model* model = nullptr;               // in: the entries are its source rows 0..rowCount-1
    int rowCount = 30;                    // in: 1..30
    const FormulaFonts* fonts = nullptr;  // in: formula fonts and the list font
    QColor background{254, 251, 209};     // in
    int rowHeight = 0;                    // in and out: pixels; 0 takes rowHeightFor(fonts)
    int borderWidth = 0;                  // out: the list's left frame
    int numberWidth = 3;                  // in and out
    int materialWidth = 0;                // out: what the other three leave
    int fixWidth = 2;                     // in and out
    int ratioWidth = 7;                   // in and out
};

class SourceList : public QAbstractScrollArea {
    Q_OBJECT
public:
    enum Column { NumberColumn, MaterialColumn, FixColumn, RatioColumn };
    enum class Editor { None = 0, Formula = 1, Ratio = 2 };
    static constexpr int kColumns = 4;

    explicit SourceList(QWidget* parent = nullptr);
    ~SourceList() override;

    // One-time set-up, once the list has its final width: creates the two
    // hidden editors, cuts the height to whole rows, lays out the columns
    // from that width and writes their widths back into the config. Each way
    // of calling it wrongly has its own answer, and the list stays as it was.
    enum class Setup { Done, MissingParameter, NoParent, AlreadyConfigured, BadRowCount };
    Setup configure(SourceListConfig& config);
    bool isConfigured() const { return model_ != nullptr; }

    // The row height that fits a formula with its lowered counts and a line
    // of the list font.
    static int rowHeightFor(const FormulaFonts& fonts);

    static QString columnTitle(Column column);
    // Left edge and width of a column in the list's own coordinates (the
    // frame included), for the header labels and their tooltips above it.
    int columnX(Column column) const;
    int columnWidth(Column column) const;
    // The column under an x of the viewport, or -1 past the right edge.
    int columnAt(int viewportX) const;
    // A cell of an on-screen row in viewport coordinates.
    QRect cellRect(int screenRow, Column column) const;

    int rowCount() const { return rowCount_; }
    int rowHeight() const { return rowHeight_; }
    int rowsPerPage() const { return rowsPerPage_; }
    int firstVisibleRow() const { return firstVisible_; }
    // The row whose cell is (or was last) edited; where editing resumes.
    int editRow() const { return editRow_; }
    Editor activeEditor() const { return active_; }
    Formula* entry(int row) const;
    Model* model() const { return model_; }

    FormulaEdit* formulaEditor() const { return formulaEditor_; }
    RatioEdit* ratioEditor() const { return ratioEditor_; }

    // What a screen reader reads in a cell: the row number, the formula,
    // "fixed" or "free", and the ratio (empty for an empty row).
    QString cellText(int row, Column column) const;

    // resetEntry for every row. Scroll position and editors stay as they are.
    void clearRows();
    // Everything back to the start: no editor, row 0 on top, every row reset.
    void clear();
    // After the solver wrote new ratios: a visible ratio editor on a free
    // row shows that row's new ratio text.
    void refreshRatioEditor();
    // Repaint every row (the model's repaintSourceList).
    void repaintRows();

    // All four columns usable and a few rows.
    QSize minimumSizeHint() const override;

public slots:
    // Cell navigation from the editors: to the previous or the next cell.
    void step(bool previous);
    // Paging from the editors: kKeyPageUp, kKeyPageDown, kKeyEnd or kKeyHome.
    void page(int key);

signals:
    // Tab in an editor: move the focus to the tab stop after (before) the list.
    void moveFocusRequested(bool backward);
    // Ctrl+Shift+J in the formula editor, passed on to the main window.
    void hiddenMessageRequested();
    // The columns were laid out anew (configuration, resize): headers follow.
    void columnsChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void layoutColumns(int clientWidth);
    void relayout();
    void announceChanges();
    void pressAt(QPoint pos);
    void openEditor(int screenRow, Editor which);
    void placeEditor(Editor which);
    void scrollOneRow(bool up);
    void moveTo(int position);
    void ratioTextChanged(const QString& text);
    void focusChanged(QWidget* old, QWidget* now);
    void updateScreenRows(int from, int to);
    void paintRow(QPainter& p, int screenRow, const QRect& update);
    QRect pegRect(int screenRow) const;
    int clampPosition(int position) const;

    Model* model_ = nullptr;
    const FormulaFonts* fonts_ = nullptr;
    FormulaEdit* formulaEditor_ = nullptr;
    RatioEdit* ratioEditor_ = nullptr;
    int rowCount_ = 0;
    QColor background_;
    int rowHeight_ = 0;
    int rowsPerPage_ = 0;
    int clientWidth_ = 0;
    int chars_[kColumns] = {3, 0, 2, 7};  // the columns' widths in characters
    int widths_[kColumns] = {};
    int separators_[3] = {};
    int firstVisible_ = 0;
    int editRow_ = 0;
    Editor active_ = Editor::None;
    int clickedRow_ = 0;
    std::vector<QString> spoken_;  // per row and column, as last announced
    QPixmap back_;                 // off-screen image of the viewport, at the screen's pixel ratio
};

}  // namespace qv
