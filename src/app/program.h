#pragma once

#include <QPointer>
#include <QStringList>

#include <memory>

namespace app {

// What main() does before anything else: a file-size limit (ulimit -f)
// makes a save fail with a message instead of killing the designer and every
// unsaved design with it.
void prepareProcess();

class MainWindow;
class SplashWindow;

// The program's start, as main() runs it and tests drive it: the splash is
// the first window; two seconds later its timer shows the main window, whose
// start-up closes the splash as its last step. Needs a QApplication.
// Design files named on the command line open after the start-up, each on
// its model's tab, in the order given.
class Program final {
public:
    explicit Program(QStringList files = {}); // shows the splash
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    SplashWindow* splash() const; // null once closed
    // Built, hidden, while the splash shows; loaded and shown at the hand-over.
    MainWindow* mainWindow() const;

private:
    void buildMainWindow();
    void showMainWindow();

    QPointer<SplashWindow> m_splash;
    std::unique_ptr<MainWindow> m_main;
    QStringList m_files;
};

} // namespace app
