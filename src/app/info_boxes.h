#pragma once
// The explanation box behind the "?" button and the About box.

#include <QDialog>
#include <QString>

class QLabel;

namespace qv::app {

// The explanation, word for word as the program has always shown it.
extern const char kExplanationText[];

// A message box with the information icon. Not a QMessageBox: that one
// wraps its text at 500 pixels, and these lines carry their own breaks.
class ExplanationBox : public QDialog {
    Q_OBJECT
public:
    explicit ExplanationBox(QWidget* parent = nullptr);
    QLabel* textLabel() const { return text_; }

private:
    QLabel* text_;
};

// The compiler's __DATE__ ("Mmm dd yyyy", the day padded with a blank) with
// the day in two digits: "Dec  7 2026" becomes "Dec 07 2026".
QString buildDateText(const char* compilerDate);

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    // The program title with its version, and the build date.
    QLabel* titleLine() const { return title_; }
    QLabel* dateLine() const { return date_; }

private:
    QLabel* title_;
    QLabel* date_;
};

}  // namespace qv::app
