#pragma once
// The main window: the form a chemist fills in. It owns the model and its
// controls, shows what the model says changed, and routes commands.

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <memory>

#include "app/controls_bridge.h"
#include "app/settings.h"
#include "form/control_ids.h"
#include "form/form_observer.h"
#include "form/model.h"
#include "output/word_automation.h"

class QAction;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace qv::app {

class ElementList;
class SourceListArea;

inline constexpr const char* kMainCaption = "Quorvex";
inline constexpr const char* kRecipeFilter = "Quorvex Source Files(*.QVS)";
inline constexpr const char* kRecipeSuffix = "QVS";
inline constexpr const char* kDisplayFontName = "Courier New";
inline constexpr const char* kAtomsLoadFailed = "Couldn't load data from ATOMS.LST.";
inline constexpr const char* kDifferenceLabel =
    "This is your Final Compound minus all the fixed entries in Source Material List.";

class MainWindow : public QMainWindow, public FormObserver {
    Q_OBJECT
public:
    // programDir ends in '/'; ATOMS.LST and the report file live there.
    explicit MainWindow(const QString& programDir, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Loads the element table and the settings and posts the deferred
    // initialisation. False after the message when ATOMS.LST gave nothing:
    // the window is closed then and the program ends.
    bool initialise();
    bool initialised() const { return deferredDone_; }
    // A recipe to open once the form is ready (from the command line).
    void openAfterStart(const QString& path) { startRecipe_ = path; }

    Model& model() { return *model_; }
    const Settings& settings() const { return settings_; }
    QWidget* control(ControlId id) const;
    QAction* action(const char* name) const;
    SourceList* sourceList() const { return sourceList_; }

    // Shows what the model says changed.
    void formChanged(FormChange what, int row) override;
    void messageBox(std::string_view text, std::string_view title, MessageIcon icon);

    // The office the word-processor sink drives; the plugin's by default.
    void setWordOffice(std::unique_ptr<WordOffice> office);

public slots:
    void clearAll();
    void newForm();
    void onOutput();
    // The default sink: the report file, shown and then deleted.
    void writeTextReport(double grams);
    // The word-processor sink: LibreOffice Writer through the office plugin,
    // the text report when no office can be reached.
    void outputToWord(double grams);
    // Each true when the recipe was read or written whole.
    bool openRecipe();
    bool saveRecipe();
    // The load behind File > Open and the command line.
    bool openRecipeFile(const QString& path);
    // The Series dialog over a copy of the form; "Open in form" types a
    // sample's compound into the final compound.
    void showSeries();
    void showHelp();
    void showAbout();
    void showExplanation();
    void showHiddenMessage();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildForm();
    void buildMenu();
    void deferredInitialise();
    void startWebPing();
    void updateMenuStates();
    void focusAfter(QWidget* sender, bool backward);
    void layoutHeaders();
    void refreshFormulaEdits();
    // Whether a word processor the user can see can take the report: the
    // office plugin loads, a display is set and the office shows windows.
    bool wordProcessorAvailable();

    std::unique_ptr<Model> model_;
    QString programDir_;
    Settings settings_;
    bool settingsRead_ = false;
    bool deferredDone_ = false;
    QString startRecipe_;
    std::unique_ptr<FormulaFonts> fonts_;
    std::unique_ptr<ElementList> include_, exclude_;

    QLabel* notice_ = nullptr;
    QLineEdit* sampleTag_ = nullptr;
    QLineEdit* gram_ = nullptr;
    FormulaEdit* finalEdit_ = nullptr;
    RatioEdit* ratioEdit_ = nullptr;
    FormulaEdit* differenceEdit_ = nullptr;
    SourceList* sourceList_ = nullptr;
    SourceListArea* listArea_ = nullptr;
    QListWidget* excludeView_ = nullptr;
    QListWidget* includeView_ = nullptr;
    QPushButton* moveButtons_[4] = {};  // >, <, >>, <<
    QLabel* includeCount_ = nullptr;
    QLabel* freeCount_ = nullptr;
    QPushButton* explain_ = nullptr;
    QPlainTextEdit* status_ = nullptr;
    QPushButton* output_ = nullptr;
    QPushButton* clearAll_ = nullptr;
    QAction* wordAction_ = nullptr;
    QAction* defaultAction_ = nullptr;
    QAction* differenceAction_ = nullptr;
    std::unique_ptr<WordOffice> wordOffice_;
    std::string lastWordDocument_;  // the document the word output last created
};

}  // namespace qv::app
