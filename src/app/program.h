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
class Preferences;
class SplashWindow;

// How a run starts.
struct StartOptions {
    QStringList files; // design files to open, each on its model's tab
    // The zoom of this run (a step); 0 for the zoom last chosen, or on a
    // first start the largest that suits the screen.
    int zoom = 0;
    // Read and keep the user's settings (dialog folder, recent files, zoom,
    // window position).
    bool remember = true;
};

// The program's start, as main() runs it and tests drive it: the splash is
// the first window; two seconds later its timer shows the main window, whose
// start-up closes the splash as its last step. Needs a QApplication.
// Design files named on the command line open after the start-up, each on
// its model's tab, in the order given.
class Program final {
public:
    // A run at zoom 100 that remembers nothing, as tests and probes want it.
    explicit Program(QStringList files = {}); // shows the splash
    explicit Program(StartOptions options);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    SplashWindow* splash() const; // null once closed
    // Built, hidden, while the splash shows; loaded and shown at the hand-over.
    MainWindow* mainWindow() const;

    // Files a second start handed over: opened on their models' tabs (after
    // the start-up, when it has not run yet), and the window comes to the
    // front.
    void openHandedOver(const QStringList& files);

private:
    void buildMainWindow();
    void showMainWindow();
    int startZoom() const;

    QPointer<SplashWindow> m_splash;
    std::unique_ptr<MainWindow> m_main;
    QStringList m_files;
    int m_zoom = 100;
    std::unique_ptr<Preferences> m_preferences;
};

} // namespace app
