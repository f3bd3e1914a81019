#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace app {

// The About window: the program's icon, title, version, the maker's rights
// notice and web address. A new one is made for each About command, so its
// texts are built afresh every time; OK and the close button both unload it.
class AboutWindow final : public QDialog {
    Q_OBJECT

public:
    explicit AboutWindow(QWidget* parent);

    // Sets the caption and every text.
    void startUp();

    void onOk();

    QLabel* iconLabel = nullptr;
    QLabel* titleLabel = nullptr;
    QLabel* versionLabel = nullptr;
    QLabel* descriptionLabel = nullptr;
    QLabel* disclaimerLabel = nullptr;
    QPushButton* okButton = nullptr;
};

} // namespace app
