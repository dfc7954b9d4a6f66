#pragma once
// Opens the addresses the window hands to the desktop (Qt.openUrlExternally) with the desktop's
// opener, in an environment of the program's choosing rather than the process's own: the
// process keeps settings in its environment that are meant for itself only.
#include <QObject>
#include <QProcessEnvironment>
#include <QUrl>

class UrlOpener : public QObject {
    Q_OBJECT
public:
    // Takes over file, http and https addresses until destroyed. `opener` is started with the
    // address as its one argument.
    explicit UrlOpener(const QProcessEnvironment &environment,
                       const QString &opener = QStringLiteral("xdg-open"));
    ~UrlOpener() override;

signals:
    // The opener could not be started: the desktop's own answer to the caller is always
    // "opened" once a handler is installed, so the failure is told here.
    void cannotOpen(const QUrl &url);

public slots:
    // True when the opener started (it runs on, detached).
    bool openUrl(const QUrl &url);

private:
    const QProcessEnvironment environment;
    const QString opener;
};
