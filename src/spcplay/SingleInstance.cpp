#include "spcplay/SingleInstance.h"

#include <unistd.h>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace velmor::spcplay {

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), m_name(std::move(name)), m_server(new QLocalServer(this)) {
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Any connection is the request: the new player has nothing else to say. The socket stays
    // open until this process ends, which tells the new player that the old one has gone.
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (m_server->hasPendingConnections()) {
            m_server->nextPendingConnection()->setParent(this);
        }
        emit closeRequested();
    });
}

QString SingleInstance::defaultName() {
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir(folder).exists()) {
        folder = QDir::tempPath();
    }
    return folder + QStringLiteral("/velmor-spcplay-%1").arg(getuid());
}

bool SingleInstance::takeOver(int timeoutMs) {
    QLocalSocket running;
    running.connectToServer(m_name);
    if (running.waitForConnected(timeoutMs)) {
        running.write("close\n");
        running.flush();
        if (running.state() != QLocalSocket::UnconnectedState) {
            running.waitForDisconnected(timeoutMs);
        }
    }
    if (m_server->listen(m_name)) {
        return true;
    }
    // What is left of a player that ended without cleaning up, or one that would not close:
    // the newest player wins either way.
    QLocalServer::removeServer(m_name);
    return m_server->listen(m_name);
}

}  // namespace velmor::spcplay
