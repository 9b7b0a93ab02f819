#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace velmor::spcplay {

// Keeps one player per user: a new player asks the running one to close, waits until it has
// gone, and then listens in its place.
class SingleInstance final : public QObject {
    Q_OBJECT
  public:
    // `name` is the socket's path; defaultName() gives the one of the user's session.
    explicit SingleInstance(QString name = defaultName(), QObject* parent = nullptr);

    // Closes the running player, if any (waiting at most `timeoutMs`), and takes over the name.
    // False when the name could not be taken; the player then plays all the same.
    bool takeOver(int timeoutMs = 3000);

    // In the user's runtime folder (else the temporary folder), named after the user's id.
    static QString defaultName();

  signals:
    // Another player has started and asks this one to close.
    void closeRequested();

  private:
    QString m_name;
    QLocalServer* m_server;  // owned as a child
};

}  // namespace velmor::spcplay
