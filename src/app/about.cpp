#include "app/about.h"

#include "app/icon.h"
#include "catalogue/about_texts.h"
#include "toolkit/names.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace app {

namespace {

// The catalogue joins lines with CR LF; a label breaks at LF alone.
QString labelText(const std::string& text)
{
    return tk::qs(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QLabel* label(const QString& name, const QString& accessibleName, QWidget* parent)
{
    auto* l = new QLabel(parent);
    tk::nameControl(l, name, accessibleName);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

} // namespace

AboutWindow::AboutWindow(QWidget* parent)
    : QDialog(parent)
{
    tk::nameControl(this, QStringLiteral("frmAbout"), QStringLiteral("About"));
    setModal(true);
    setWindowModality(Qt::ApplicationModal);

    iconLabel = label(QStringLiteral("picIcon"), QStringLiteral("Program icon"), this);
    iconLabel->setPixmap(programIcon().pixmap(48, 48));
    iconLabel->setFixedSize(48, 48);
    titleLabel = label(QStringLiteral("lblTitle"), QStringLiteral("Title"), this);
    QFont bold = titleLabel->font();
    bold.setBold(true);
    titleLabel->setFont(bold);
    versionLabel = label(QStringLiteral("lblVersion"), QStringLiteral("Version"), this);
    descriptionLabel = label(QStringLiteral("lblDescription"), QStringLiteral("Description"), this);
    disclaimerLabel = label(QStringLiteral("lblDisclaimer"), QStringLiteral("Disclaimer"), this);
    disclaimerLabel->setWordWrap(true);
    okButton = new QPushButton(this);
    tk::nameControl(okButton, QStringLiteral("cmdOK"), QStringLiteral("OK"));
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &AboutWindow::onOk);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(16, 16, 16, 12);
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(10);
    grid->addWidget(iconLabel, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(titleLabel, 0, 1);
    grid->addWidget(versionLabel, 1, 1);
    grid->addWidget(descriptionLabel, 2, 1);
    grid->addWidget(disclaimerLabel, 3, 0, 1, 2);
    grid->addWidget(okButton, 4, 1, Qt::AlignRight);
    setSizeGripEnabled(false);
}

void AboutWindow::startUp()
{
    setWindowTitle(tk::qs(cat::aboutCaption()));
    versionLabel->setText(labelText(cat::versionLine()));
    titleLabel->setText(labelText(cat::aboutTitle()));
    descriptionLabel->setText(labelText(cat::aboutDescription()));
    disclaimerLabel->setText(tk::qs(cat::kDisclaimer));
    okButton->setText(tk::qs(cat::kOkCaption));
    setFixedSize(sizeHint());
}

void AboutWindow::onOk()
{
    accept();
}

} // namespace app
