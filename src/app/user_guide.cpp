#include "app/user_guide.h"

#include "toolkit/names.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace app {

UserGuide::UserGuide(QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_browser(new QTextBrowser(this))
{
    tk::nameControl(this, QStringLiteral("userGuide"), QStringLiteral("User Guide"));
    tk::nameControl(m_browser, QStringLiteral("guideText"), QStringLiteral("User Guide text"));
    setWindowTitle(QStringLiteral("Orlensuit Jumpsuit Designer User Guide"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    m_browser->setOpenExternalLinks(false);
    m_browser->setOpenLinks(true);
    m_browser->setSearchPaths({QStringLiteral(":/guide")});
    m_browser->setSource(QUrl(QStringLiteral("qrc:/guide/index.html")));
    resize(760, 720);
}

} // namespace app
