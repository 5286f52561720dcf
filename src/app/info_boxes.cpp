#include "app/info_boxes.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "app/app_info.h"

namespace qv::app {

const char kExplanationText[] =
    "Quorvex tries to give an answer by turning the problem of determining ratios of entries in Source "
    "Material List\n"
    "into a system of linear equations, and, then solving it.  Therefore, if you want Quorvex to "
    "automatically\n"
    "obtain the ratios, the number of equations should be at least the number of unknowns.\n"
    "\n"
    "The number of unknowns equals the number of free entries(those without red pegs) in Source Material "
    "list,\n"
    "and the number of equations equals the number of elements in Include list.\n"
    "\n"
    "Fixed entries are marked by red pegs, and Free entries are without red pegs in Source Material List.\n"
    "Those pegs can be created or removed by clicking in the \"Fix\" field.\n"
    "\n"
    "Quorvex won't touch ratios of the fixed entries while it constantly tries to get ratios for the free "
    "entries.\n"
    "When an answer is obtained, \"Output\" button at the bottom right corner becomes active.\n"
    "\n"
    "When you have only fixed entries in Source Material List, Quorvex operates in Manual Mode and "
    "\"Output\"\n"
    "button is always active. If there is one or more free entries, Quorvex operates in Automatic Mode and "
    "\"Output\"\n"
    "button beocmes active only when the system of linear equations(refer to the first paragraph) is "
    "solved.\n"
    "\n"
    "For more, go to help in the menu.\n"
    "\n";

ExplanationBox::ExplanationBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("explanationBox"));
    setWindowTitle(applicationTitle());

    auto* icon = new QLabel(this);
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, this).pixmap(side));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    // The text has quotes and parentheses but no markup; never let it be
    // guessed as rich text.
    text_ = new QLabel(QString::fromLatin1(kExplanationText), this);
    text_->setTextFormat(Qt::PlainText);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(icon);
    top->addWidget(text_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Only a screen too narrow for the longest line gets wrapped text.
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen && sizeHint().width() > screen->availableGeometry().width()) text_->setWordWrap(true);
}

QString buildDateText(const char* compilerDate) {
    QString text = QString::fromLatin1(compilerDate).left(11);
    if (text.size() == 11 && text[4] == u' ') text[4] = u'0';
    return text;
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("About ") + applicationTitle());

    auto* icon = new QLabel(this);
    QIcon appIcon = parent ? parent->windowIcon() : QApplication::windowIcon();
    if (appIcon.isNull()) appIcon = style()->standardIcon(QStyle::SP_MessageBoxInformation);
    icon->setPixmap(appIcon.pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    title_ = new QLabel(applicationTitle(), this);
    title_->setObjectName(QStringLiteral("titleLine"));
    QFont big = title_->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    title_->setFont(big);

    date_ = new QLabel(buildDateText(__DATE__), this);
    date_->setObjectName(QStringLiteral("dateLine"));
    date_->setToolTip(tr("Build date"));

    auto plain = [this](const QString& text) {
        auto* line = new QLabel(text, this);
        line->setTextFormat(Qt::PlainText);
        return line;
    };

    auto* text = new QVBoxLayout;
    text->setSpacing(4);
    text->addWidget(title_);
    text->addWidget(date_);
    text->addSpacing(10);
    text->addWidget(plain(tr("Weighing calculator for solid-state synthesis.")));
    text->addSpacing(6);
    text->addWidget(plain(tr("Written by the Quorvex developers.")));
    text->addWidget(plain(tr("With thanks to the chemists whose questions at the balance shaped it.")));
    text->addWidget(plain(tr("The guide is under Help > Help (F1).")));
    text->addStretch(1);

    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(icon);
    top->addLayout(text, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace qv::app
