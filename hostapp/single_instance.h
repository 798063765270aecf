#pragma once
// One harbinet per user and display: a later start hands its files over a local socket to the
// harbinet that already runs, which opens them, and then ends.

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

namespace harbinet {

class TSingleInstance final : public QObject {
    Q_OBJECT
public:
    // `name`: the local socket's name or path; tests give each case one of its own.
    explicit TSingleInstance(QString name, QObject* parent = nullptr);

    // The user's socket for the current display, in the user's runtime folder when there is
    // one (only the user can reach it), else a per-user name in the temporary folder.
    static QString DefaultName();

    // Gives the files to the running harbinet and waits until it has taken them. False when
    // none runs or it did not answer in time; the caller then carries on as the first.
    bool HandOver(const QStringList& files, int timeoutMs = 5000);

    // Takes the name so that later starts find this one; a socket left behind by a harbinet
    // that ended without closing it is replaced. False with the reason when the name is taken.
    bool Listen(QString& error);

signals:
    void FilesReceived(const QStringList& files);

private:
    void Accept();
    void Read(QLocalSocket* socket);

    QString name_;
    QLocalServer* server_ = nullptr;
};

}  // namespace harbinet
