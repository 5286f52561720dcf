#pragma once
// The default viewer of the weighing report: a read-only fixed-pitch view of
// a text file with "Copy All" and "Close".

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace qv::app {

inline constexpr const char* kOutputDialogTitle = "Quorvex : Default Output Display";
inline constexpr const char* kDisplayOutputError = "Error occured while displaying output.";
inline constexpr const char* kDisplayResultError = "Error occured while displaying result.";
// Bytes appended to the view at a time.
inline constexpr int kDisplayChunk = 519;

class OutputDialog : public QDialog {
    Q_OBJECT
public:
    explicit OutputDialog(QWidget* parent = nullptr);

    // The file to show and the face of its fixed-pitch font (10 points).
    void setSource(const QString& path, const QString& fontName);
    // Loads the file and shows the dialog modally; ends at once with
    // Rejected, after its messages, when there is nothing to show.
    int exec() override;

    // Appends the file to the view chunk by chunk; the characters appended,
    // 0 when nothing could be shown.
    qsizetype loadTextFile();
    void copyAll();

    QPlainTextEdit* view() const { return view_; }

private:
    QString path_;
    QPlainTextEdit* view_;
    QPushButton* close_;
    QPushButton* copy_;
};

}  // namespace qv::app
