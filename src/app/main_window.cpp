#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <QVBoxLayout>

#include "app/app_icon.h"
#include "app/app_info.h"
#include "app/corrections_panel.h"
#include "app/element_list.h"
#include "app/source_list_area.h"
#include "controls/accessibility.h"
#include "controls/icons.h"
#include "form/element_lists.h"

namespace qv::app {

namespace {

QLabel* makeLabel(const QString& text, QWidget* buddy) {
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

QPushButton* makeButton(const QString& text, const QString& tip) {
    auto* button = new QPushButton(text);
    button->setToolTip(tip);
    button->setAccessibleName(text);
    button->setAutoDefault(false);
    return button;
}

QLabel* makeCount(const QString& name, const QString& tip) {
    auto* count = new QLabel(QStringLiteral("0"));
    count->setAlignment(Qt::AlignCenter);
    count->setFrameShape(QFrame::StyledPanel);
    count->setFrameShadow(QFrame::Sunken);
    count->setMinimumWidth(40);
    count->setAccessibleName(name);
    count->setToolTip(tip);
    return count;
}

QString toQ(std::string_view text) { return QString::fromUtf8(text.data(), qsizetype(text.size())); }

// A line edit shows the model's text; an equal text is left alone, so the
// caret stays where the user put it.
void showText(QLineEdit* edit, const std::string& text) {
    const QString q = QString::fromStdString(text);
    if (edit->text() != q) edit->setText(q);
}

}  // namespace

MainWindow::MainWindow(const QString& programDir, QWidget* parent)
    : QMainWindow(parent), model_(std::make_unique<Model>()), programDir_(programDir) {
    setWindowTitle(QLatin1String(kMainCaption));
    // Every window of the program, dialogs and message boxes included.
    QApplication::setWindowIcon(applicationIcon());
    buildForm();
    buildMenu();
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    if (settingsRead_) {
        QSettings store(QLatin1String(kAppName), QCoreApplication::applicationName());
        writeSettings(store, settings_);
    }
    // The controls point into the model's entries: they go first.
    model_->removeObserver(this);
    model_->attachLists(nullptr, nullptr);
    delete takeCentralWidget();
}

void MainWindow::buildForm() {
    auto* central = new QWidget;
    setCentralWidget(central);

    // Created in tab order; the layouts below place them.
    sampleTag_ = new QLineEdit;
    sampleTag_->setAccessibleName(tr("Sample Tag"));
    sampleTag_->setToolTip(tr("A name for the sample, printed in the report"));
    gram_ = new QLineEdit;
    gram_->setAccessibleName(tr("Gram"));
    gram_->setToolTip(tr("Mass of the final compound to make, in grams"));
    gram_->setMaximumWidth(110);
    finalEdit_ = new FormulaEdit;
    finalEdit_->setAccessibleName(tr("Compound"));
    finalEdit_->setToolTip(tr("Formula of the final compound"));
    ratioEdit_ = new RatioEdit(nullptr, true);
    ratioEdit_->setAccessibleName(tr("Ratio"));
    ratioEdit_->setToolTip(tr("Mole ratio of the final compound"));
    ratioEdit_->setMaximumWidth(110);
    differenceEdit_ = new FormulaEdit;
    differenceEdit_->setAccessibleName(QLatin1String(kDifferenceLabel));
    for (FormulaEdit* edit : {finalEdit_, differenceEdit_})
        edit->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    sourceList_ = new SourceList;
    sourceList_->setAccessibleName(tr("Source Material List"));
    sourceList_->installEventFilter(this);
    excludeView_ = new QListWidget;
    excludeView_->setAccessibleName(tr("Exclude"));
    moveButtons_[0] = makeButton(QStringLiteral(">"), tr("Include the selected elements"));
    moveButtons_[1] = makeButton(QStringLiteral("<"), tr("Exclude the selected elements"));
    moveButtons_[2] = makeButton(QStringLiteral(">>"), tr("Include every element"));
    moveButtons_[3] = makeButton(QStringLiteral("<<"), tr("Exclude every element"));
    includeView_ = new QListWidget;
    includeView_->setAccessibleName(tr("Include"));
    explain_ = makeButton(QStringLiteral("?"), tr("Why this relation matters"));
    explain_->setAccessibleDescription(tr("Explain the relation"));
    status_ = new QPlainTextEdit;
    status_->setReadOnly(true);
    status_->setTabChangesFocus(true);
    status_->setAccessibleName(tr("Status"));
    status_->setToolTip(tr("What the ratio calculation found"));
    announceTextChanges(status_);
    output_ = makeButton(tr("Output"), tr("Write the weighing report"));
    weigh_ = makeButton(tr("Weigh ..."), tr("Open the weighing sheet: what was really weighed, the balance"));
    clearAll_ = makeButton(tr("Clear All"), tr("Empty the form"));

    includeCount_ = makeCount(tr("Elements in Include list"), tr("Number of elements in the Include list"));
    freeCount_ = makeCount(tr("Free entries in Source Material List"),
                           tr("Number of source materials whose ratio is calculated"));

    for (QListWidget* view : {excludeView_, includeView_}) {
        view->setViewMode(QListView::ListMode);
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setSortingEnabled(true);
        view->setIconSize(QSize(16, 16));
        view->setMinimumSize(90, 120);
        view->installEventFilter(this);
        new FocusFrameView(view);
    }
    include_ = std::make_unique<ElementList>(includeView_);
    exclude_ = std::make_unique<ElementList>(excludeView_);

    notice_ = new QLabel;
    notice_->setTextFormat(Qt::PlainText);  // the page's text, never its markup
    notice_->setAlignment(Qt::AlignCenter);
    notice_->setWordWrap(true);
    notice_->setVisible(false);

    // Left: the final compound and the source materials.
    auto* top = new QGridLayout;
    top->addWidget(makeLabel(tr("Sample Tag"), sampleTag_), 0, 0);
    top->addWidget(sampleTag_, 0, 1);
    top->addWidget(makeLabel(tr("Gram"), gram_), 0, 2);
    top->addWidget(gram_, 0, 3);
    top->addWidget(makeLabel(tr("Compound"), finalEdit_), 1, 0);
    top->addWidget(finalEdit_, 1, 1);
    top->addWidget(makeLabel(tr("Ratio"), ratioEdit_), 1, 2);
    top->addWidget(ratioEdit_, 1, 3);
    top->setColumnStretch(1, 1);
    auto* differenceLabel = makeLabel(QLatin1String(kDifferenceLabel), differenceEdit_);
    differenceLabel->setWordWrap(true);

    // The headers stand over the list's columns and follow them.
    listArea_ = new SourceListArea(sourceList_);

    auto* left = new QVBoxLayout;
    left->addLayout(top);
    left->addSpacing(4);
    left->addWidget(differenceLabel);
    left->addWidget(differenceEdit_);
    left->addSpacing(6);
    left->addWidget(besideCorrections(listArea_), 1);
    left->setSpacing(4);

    // Right: the element lists, the relation, the status and the commands.
    auto* moves = new QVBoxLayout;
    moves->addStretch(1);
    for (QPushButton* b : moveButtons_) {
        b->setFixedWidth(44);
        moves->addWidget(b);
    }
    moves->addStretch(1);
    auto* lists = new QGridLayout;
    lists->addWidget(makeLabel(tr("Exclude"), excludeView_), 0, 0, Qt::AlignHCenter);
    lists->addWidget(makeLabel(tr("Include"), includeView_), 0, 2, Qt::AlignHCenter);
    lists->addWidget(excludeView_, 1, 0);
    lists->addLayout(moves, 1, 1);
    lists->addWidget(includeView_, 1, 2);

    auto* relation = new QGroupBox(tr("Keep this relation true for auto-ratio calculation"));
    auto* relationRow = new QHBoxLayout(relation);
    relationRow->addStretch(1);
    relationRow->addWidget(includeCount_);
    relationRow->addWidget(new QLabel(QStringLiteral(">=")));
    relationRow->addWidget(freeCount_);
    relationRow->addStretch(1);
    explain_->setFixedWidth(32);
    relationRow->addWidget(explain_);

    auto* legend = new QGroupBox(tr("Legend"));
    auto* legendGrid = new QGridLayout(legend);
    const struct {
        int image;
        const char* text;
    } marks[2] = {{kNonMetalImage, "Non-Metal"}, {kMetalImage, "Metal"}};
    for (int i = 0; i < 2; ++i) {
        auto* icon = new QLabel;
        icon->setPixmap((marks[i].image == kMetalImage ? metalIcon() : nonMetalIcon()).pixmap(QSize(16, 16)));
        legendGrid->addWidget(icon, i, 0);
        legendGrid->addWidget(new QLabel(tr(marks[i].text)), i, 1);
    }
    legendGrid->setColumnStretch(1, 1);

    auto* commands = new QVBoxLayout;
    commands->addStretch(1);
    commands->addWidget(output_);
    commands->addWidget(weigh_);
    commands->addWidget(clearAll_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(legend);
    bottom->addStretch(1);
    bottom->addLayout(commands);

    auto* right = new QVBoxLayout;
    right->addLayout(lists);
    right->addWidget(relation);
    right->addWidget(status_, 1);
    right->addLayout(bottom);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 3);
    columns->addSpacing(8);
    columns->addLayout(right, 2);
    auto* outer = new QVBoxLayout(central);
    outer->addWidget(notice_);
    outer->addLayout(columns, 1);

    connect(clearAll_, &QPushButton::clicked, this, &MainWindow::clearAll);
    connect(output_, &QPushButton::clicked, this, &MainWindow::onOutput);
    connect(weigh_, &QPushButton::clicked, this, &MainWindow::openWeighingSheet);
    connect(explain_, &QPushButton::clicked, this, &MainWindow::showExplanation);
    connect(moveButtons_[0], &QPushButton::clicked, this,
            [this] { moveSelectedAndSolve(*model_, *exclude_); });
    connect(moveButtons_[1], &QPushButton::clicked, this,
            [this] { moveSelectedAndSolve(*model_, *include_); });
    connect(moveButtons_[2], &QPushButton::clicked, this, [this] { moveAllAndSolve(*model_, *exclude_); });
    connect(moveButtons_[3], &QPushButton::clicked, this, [this] { moveAllAndSolve(*model_, *include_); });
    connect(excludeView_, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { elementListClicked(*model_, *exclude_, index.row()); });
    connect(includeView_, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { elementListClicked(*model_, *include_, index.row()); });
    // Typing reaches the model; the model's own writes come back equal.
    connect(ratioEdit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text.toStdString() != model_->finalCompound().ratioText())
            model_->setFinalRatioText(text.toStdString());
    });
    connect(sampleTag_, &QLineEdit::textChanged, this,
            [this](const QString& text) { model_->setSampleTag(text.toStdString()); });
    connect(gram_, &QLineEdit::textChanged, this,
            [this](const QString& text) { model_->setGramsText(text.toStdString()); });
    for (FormulaEdit* edit : {finalEdit_, differenceEdit_})
        connect(edit, &FormulaEdit::moveFocusRequested, this,
                [this, edit](bool backward) { focusAfter(edit, backward); });
    connect(sourceList_, &SourceList::moveFocusRequested, this,
            [this](bool backward) { focusAfter(sourceList_, backward); });
    connect(
        ratioEdit_, &RatioEdit::moveFocusRequested, this,
        [this](bool backward) { focusAfter(ratioEdit_, backward); }, Qt::QueuedConnection);
    for (FormulaEdit* edit : {finalEdit_, differenceEdit_})
        connect(edit, &FormulaEdit::hiddenMessageRequested, this, &MainWindow::showHiddenMessage,
                Qt::QueuedConnection);
    connect(sourceList_, &SourceList::hiddenMessageRequested, this, &MainWindow::showHiddenMessage,
            Qt::QueuedConnection);

    resize(980, 660);
}

void MainWindow::buildMenu() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    QAction* a = file->addAction(tr("&New"), this, &MainWindow::newForm);
    a->setObjectName(QStringLiteral("new"));
    a->setShortcut(QKeySequence::New);
    a = file->addAction(tr("&Open ..."), this, &MainWindow::openRecipe);
    a->setObjectName(QStringLiteral("open"));
    a->setShortcut(QKeySequence::Open);
    a = file->addAction(tr("&Save ..."), this, &MainWindow::saveRecipe);
    a->setObjectName(QStringLiteral("save"));
    a->setShortcut(QKeySequence::Save);
    a = file->addAction(tr("Se&ries ..."), this, &MainWindow::showSeries);
    a->setObjectName(QStringLiteral("series"));
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    file->addSeparator();
    a = file->addAction(tr("E&xit"), this, &QWidget::close, Qt::QueuedConnection);
    a->setObjectName(QStringLiteral("exit"));
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));

    QMenu* options = menuBar()->addMenu(tr("&Options"));
    QMenu* outputTo = options->addMenu(tr("Output To"));
    wordAction_ = outputTo->addAction(tr("MS &Word"), this, [this] {
        if (settings_.wordAvailable) settings_.outputToWord = 1;
        updateMenuStates();
    });
    wordAction_->setObjectName(QStringLiteral("word"));
    outputTo->setToolTipsVisible(true);
    defaultAction_ = outputTo->addAction(tr("&Default"), this, [this] {
        settings_.outputToWord = 0;
        updateMenuStates();
    });
    defaultAction_->setObjectName(QStringLiteral("default"));
    differenceAction_ = options->addAction(tr("Show Difference"), this, [this] {
        settings_.showDifference = settings_.showDifference > 0 ? 0 : 1;
        updateMenuStates();
    });
    differenceAction_->setObjectName(QStringLiteral("difference"));
    for (QAction* check : {wordAction_, defaultAction_, differenceAction_}) check->setCheckable(true);
    options->addSeparator();
    a = options->addAction(tr("Bottle &Library ..."), this, &MainWindow::showLibrary);
    a->setObjectName(QStringLiteral("library"));
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    connect(options, &QMenu::aboutToShow, this, &MainWindow::updateMenuStates);
    connect(outputTo, &QMenu::aboutToShow, this, &MainWindow::updateMenuStates);

    QMenu* bench = menuBar()->addMenu(tr("&Bench"));
    a = bench->addAction(tr("&Weighing Log ..."), this, &MainWindow::openWeighingLog);
    a->setObjectName(QStringLiteral("weighingLog"));
    a = bench->addAction(tr("&Balance ..."), this, &MainWindow::editBalanceSettings);
    a->setObjectName(QStringLiteral("balance"));

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    a = help->addAction(tr("&Help"), this, &MainWindow::showHelp);
    a->setObjectName(QStringLiteral("help"));
    a->setShortcut(QKeySequence::HelpContents);
    a = help->addAction(tr("&About ..."), this, &MainWindow::showAbout);
    a->setObjectName(QStringLiteral("about"));
    updateMenuStates();
}

void MainWindow::updateMenuStates() {
    wordAction_->setEnabled(settings_.wordAvailable);
    wordAction_->setChecked(settings_.outputToWord > 0);
    defaultAction_->setChecked(settings_.outputToWord <= 0);
    differenceAction_->setChecked(settings_.showDifference > 0);
}

QAction* MainWindow::action(const char* name) const { return findChild<QAction*>(QLatin1String(name)); }

bool MainWindow::initialise() {
    const QString atoms = programDir_ + QStringLiteral("ATOMS.LST");
    if (model_->elementTable().loadElementTable(QFile::encodeName(atoms).toStdString()) <= 0) {
        QMessageBox box(QMessageBox::NoIcon, QLatin1String(kAppName), QLatin1String(kAtomsLoadFailed),
                        QMessageBox::Ok, this);
        box.exec();
        close();
        return false;
    }
    QSettings store(QLatin1String(kAppName), QCoreApplication::applicationName());
    QApplication::setOverrideCursor(Qt::WaitCursor);
    settings_ = readSettings(store, wordProcessorAvailable());
    QApplication::restoreOverrideCursor();
    settingsRead_ = true;
    updateMenuStates();

    output_->setEnabled(false);
    weigh_->setEnabled(false);
    model_->addObserver(this);
    model_->attachLists(include_.get(), exclude_.get());
    startWebPing();
    QMetaObject::invokeMethod(this, &MainWindow::deferredInitialise, Qt::QueuedConnection);
    return true;
}

void MainWindow::deferredInitialise() {
    fonts_ = std::make_unique<FormulaFonts>();
    Formula& final = model_->finalCompound();
    fonts_->applyTo(*model_);
    for (FormulaEdit* edit : {finalEdit_, differenceEdit_}) edit->setFonts(fonts_.get());
    finalEdit_->bindEntry(&final);
    differenceEdit_->bindEntry(&model_->difference());

    SourceListConfig config;
    config.model = model_.get();
    config.fonts = fonts_.get();
    // The list measures its rows from the fonts: a layout may stretch the
    // final compound's edit, which must not stretch the rows.
    config.rowHeight = 0;
    [[maybe_unused]] const SourceList::Setup setup = sourceList_->configure(config);
    Q_ASSERT(setup == SourceList::Setup::Done);
    layoutHeaders();

    clearAll();
    deferredDone_ = true;
    // The bottles to offer, once the window is up.
    QTimer::singleShot(0, this, [this] { openLabDatabase(false); });
    if (!startRecipe_.isEmpty())
        QMetaObject::invokeMethod(
            this, [this] { openRecipeFile(startRecipe_); }, Qt::QueuedConnection);
}

// The header labels stand over the list's columns, wherever the layout put it.
void MainWindow::layoutHeaders() { listArea_->placeHeaders(); }

void MainWindow::clearAll() {
    finalEdit_->resetBoundEntry();
    model_->clearAll();
    refreshFormulaEdits();
}

void MainWindow::newForm() {
    recipeEncoding_ = TextEncoding::Utf8;  // a new recipe is saved as UTF-8
    model_->setSampleTag("");
    clearAll();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    // Empties the element-use map while the lists still exist.
    if (deferredDone_) {
        finalEdit_->resetBoundEntry();
        sourceList_->clearRows();
        refreshFormulaEdits();
    }
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    auto* target = static_cast<QWidget*>(watched);
    if (target->window() != this) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Escape) return true;
    if (key != Qt::Key_Return && key != Qt::Key_Enter) return false;
    if (target == excludeView_ || target == includeView_) {
        moveSelectedAndSolve(*model_, target == includeView_ ? *include_ : *exclude_);
        return true;
    }
    // Only the list's editors and the corrections table take Return; everywhere
    // else it is dropped.
    return !sourceList_->isAncestorOf(target) && !corrections_->isAncestorOf(target);
}

void MainWindow::focusAfter(QWidget* sender, bool backward) {
    if (QWidget* next = nextTabStop(sender, backward))
        next->setFocus(backward ? Qt::BacktabFocusReason : Qt::TabFocusReason);
}

QWidget* MainWindow::control(ControlId id) const {
    switch (id) {
    case ControlId::SampleTag: return sampleTag_;
    case ControlId::FinalCompound: return finalEdit_;
    case ControlId::FinalRatio: return ratioEdit_;
    case ControlId::Difference: return differenceEdit_;
    case ControlId::MoveAllToExclude: return moveButtons_[3];
    case ControlId::MoveAllToInclude: return moveButtons_[2];
    case ControlId::MoveToExclude: return moveButtons_[1];
    case ControlId::MoveToInclude: return moveButtons_[0];
    case ControlId::Mass: return gram_;
    case ControlId::ClearAll: return clearAll_;
    case ControlId::SourceList: return sourceList_;
    case ControlId::ExcludeList: return excludeView_;
    case ControlId::IncludeList: return includeView_;
    case ControlId::OutputButton: return output_;
    case ControlId::WeighButton: return weigh_;
    case ControlId::FreeCount: return freeCount_;
    case ControlId::IncludeCount: return includeCount_;
    case ControlId::Status: return status_;
    case ControlId::Explain: return explain_;
    case ControlId::Notice: return notice_;
    }
    return nullptr;
}

void MainWindow::formChanged(FormChange what, int row) {
    const Model& m = *model_;
    switch (what) {
    case FormChange::FinalCompound: finalEdit_->refresh(); return;
    case FormChange::FinalRatio: showText(ratioEdit_, m.finalCompound().ratioText()); return;
    case FormChange::Row:
        if (row < 0)
            refreshFormulaEdits();
        else
            sourceList_->repaintRows();
        return;
    case FormChange::Ratio:
        sourceList_->repaintRows();
        sourceList_->refreshRatioEditor();
        return;
    case FormChange::Peg: sourceList_->repaintRows(); return;
    case FormChange::ElementLists:
        includeCount_->setText(QString::number(m.includeCount()));
        freeCount_->setText(QString::number(m.freeCount()));
        return;
    // A screen reader hears the new difference as it would hear typing.
    case FormChange::Difference: differenceEdit_->refresh(); return;
    case FormChange::Outcome:
        output_->setEnabled(m.outputEnabled());
        weigh_->setEnabled(m.outputEnabled());
        return;
    case FormChange::Status: status_->setPlainText(QString::fromStdString(m.status())); return;
    case FormChange::SampleTag: showText(sampleTag_, m.sampleTag()); return;
    case FormChange::Grams: showText(gram_, m.gramsText()); return;
    case FormChange::Corrections: return;
    case FormChange::Message: messageBox(m.message().text, m.message().title, m.message().icon); return;
    case FormChange::Failure:
        // The event loop ends with the code; main's window then writes the
        // settings on its way out.
        messageBox(m.failure()->text, kAppTitle, MessageIcon::None);
        QCoreApplication::exit(m.failure()->exitCode);
        return;
    }
}

void MainWindow::refreshFormulaEdits() {
    finalEdit_->refresh();
    differenceEdit_->refresh();
    sourceList_->repaintRows();
}

void MainWindow::messageBox(std::string_view text, std::string_view title, MessageIcon icon) {
    QMessageBox::Icon shown = QMessageBox::NoIcon;
    switch (icon) {
    case MessageIcon::Exclamation: shown = QMessageBox::Warning; break;
    case MessageIcon::Information: shown = QMessageBox::Information; break;
    case MessageIcon::Error: shown = QMessageBox::Critical; break;
    case MessageIcon::None: break;
    }
    QMessageBox box(shown, title.empty() ? QLatin1String(kAppName) : toQ(title), toQ(text), QMessageBox::Ok,
                    this);
    box.exec();
}

}  // namespace qv::app
