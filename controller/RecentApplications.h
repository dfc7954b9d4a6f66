#pragma once
// The applications lately in front, newest first and each once, for linking one to a profile
// without typing its name. An application counts by its names; a new process of it is the same.
#include "platform/ActiveApplication.h"

#include <QObject>
#include <QVector>

class RecentApplications : public QObject {
    Q_OBJECT
public:
    static constexpr int kMaxApplications = 10;

    using QObject::QObject;

    const QVector<ApplicationIdentity> &applications() const { return list; }

public slots:
    // An application without any name is not kept.
    void seen(const ApplicationIdentity &application);

signals:
    void changed();

private:
    QVector<ApplicationIdentity> list;
};
