#pragma once
// The source list under its column headers. The list keeps to whole rows
// (what is left of a row stays below it), and the headers follow its columns
// whenever it lays them out anew.

#include <QWidget>

class QLabel;

namespace qv {
class SourceList;
}

namespace qv::app {

class SourceListArea : public QWidget {
    Q_OBJECT
public:
    // Takes the list as a child.
    explicit SourceListArea(SourceList* list, QWidget* parent = nullptr);

    QLabel* header(int column) const { return headers_[column]; }
    // Puts the headers over the list's columns.
    void placeHeaders();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int headerHeight() const;

    SourceList* list_;
    QLabel* headers_[4] = {};
};

}  // namespace qv::app
