#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

class QTimer;

namespace app {

// The splash picture's file, an uncompressed 8-bit BMP, in the screen's
// format. Reading it directly spares the start the search for image format
// plugins. A null image for anything else or for a damaged file.
QImage decodeIndexedBmp(const QByteArray& file);

// The splash window: the title artwork, without window decorations, centred
// on the screen. Its timer fires once, after two seconds, and hands over to
// the main window; the main window's start-up closes the splash when it is
// ready, and the timer's handler closes it afterwards if it is still there.
// The window deletes itself when closed.
class SplashWindow final : public QWidget {
    Q_OBJECT

public:
    // handOver shows the main window; it runs inside the timer's handler.
    explicit SplashWindow(std::function<void()> handOver);

    // Sizes the window to its picture (288 x 405 pixels) and centres it.
    void startUp();

    void onTimer();

    QTimer* timer() const { return m_timer; }
    const QImage& picture() const { return m_picture; }
    int paintCount() const { return m_paints; }

    static constexpr int kHandOverMs = 2000;

signals:
    // The picture is on the screen for the first time.
    void firstPainted();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::function<void()> m_handOver;
    QImage m_picture; // in the screen's format
    QTimer* m_timer = nullptr;
    int m_paints = 0;
};

} // namespace app
