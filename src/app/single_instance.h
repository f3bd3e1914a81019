#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;

namespace app {

// One designer at a time. A start while a designer runs hands its files to
// the running one over a local socket private to the user, and ends; the
// running one opens them and comes to the front. A designer that does not
// answer in time is taken for gone.

// The socket of the user's designer: in the user's runtime folder (readable
// by the user alone) where there is one, else named after the user in the
// temporary folder and made accessible to the user only.
QString defaultInstanceName();

// Hands `files` (absolute paths; none: just come to the front) to the
// designer listening on `name`. True when it took them within `timeoutMs`.
bool handOverToRunning(const QString& name, const QStringList& files, int timeoutMs = 2000);

// The running designer's end: listens on the name and reports what a second
// start hands over.
class InstanceServer final : public QObject {
    Q_OBJECT

public:
    explicit InstanceServer(QObject* parent = nullptr);

    // Takes the name over from a designer gone without cleaning up; false
    // when the socket cannot be made.
    bool listen(const QString& name);

signals:
    void filesHandedOver(const QStringList& files);

private:
    void onConnection();

    QLocalServer* m_server;
};

} // namespace app
