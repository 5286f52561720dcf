#pragma once
// What the window needs around the word-processor sink: whether an office the
// user can see is there, and running the office off the window's thread
// behind a busy box that can be cancelled.

#include <QDialog>
#include <QString>
#include <functional>

class QLabel;
class QPushButton;

namespace qv {
class WordOffice;
}

namespace qv::app {

// Why "MS Word" output cannot be offered; empty when it can: a display
// (DISPLAY or WAYLAND_DISPLAY) and an installed office that shows windows.
QString wordUnavailableReason(const WordOffice* office);

// Said when the office could not be reached, then the text report follows.
inline constexpr const char* kOfficeNotReached =
    "LibreOffice Writer did not start or did not answer in time.\n"
    "The report is shown as text instead; Output now goes to the text report "
    "(Options > Output To).";
inline constexpr const char* kWordFailedFallback = "The report is shown as text instead.";

// Stands over the window while the office works: a busy bar and Cancel.
class OfficeBusyDialog : public QDialog {
    Q_OBJECT
public:
    explicit OfficeBusyDialog(QWidget* parent = nullptr);
    QPushButton* cancelButton() const { return cancel_; }
    bool cancelled() const { return cancelled_; }

signals:
    void cancelRequested();

protected:
    void reject() override;  // Escape and the close box cancel too

private:
    QLabel* text_;
    QPushButton* cancel_;
    bool cancelled_ = false;
};

// Runs `job` on a worker thread while a modal OfficeBusyDialog stands over
// `parent` (the window keeps repainting); Cancel asks the office to give up.
// Returns once the job has ended: true when the user cancelled.
bool runOffThread(QWidget* parent, WordOffice& office, const std::function<void()>& job);

}  // namespace qv::app
