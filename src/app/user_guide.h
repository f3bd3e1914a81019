#pragma once

#include <QWidget>

class QTextBrowser;

namespace app {

// Help > User Guide: the guide built into the program, in a window of its own.
// Its pages and pictures are resources (":/guide"); links between them work,
// links out of the guide are not followed (no browser, no network).
class UserGuide final : public QWidget {
    Q_OBJECT

public:
    explicit UserGuide(QWidget* parent = nullptr);

    QTextBrowser* browser() const { return m_browser; }

private:
    QTextBrowser* m_browser;
};

} // namespace app
