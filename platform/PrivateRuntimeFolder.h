#pragma once
// A folder only this user can enter, for sockets and other rendezvous files that another user
// must not be able to take over: $XDG_RUNTIME_DIR when it is such a folder, otherwise
// "w3config-<uid>" in the temporary folder, made by this user with mode 0700.
#include <QString>

namespace PrivateRuntimeFolder {

// The folder, or an empty string when neither place is safe; then `whyNot` says why.
QString path(QString *whyNot = nullptr);

// True when `folder` is a folder (not a link to one) owned by this user that no one else may
// read, write or enter; otherwise `whyNot` says what is wrong.
bool isPrivate(const QString &folder, QString *whyNot = nullptr);

// True when the file at `path` is a local socket owned by this user (not followed if a link).
bool isOwnSocket(const QString &path, QString *whyNot = nullptr);

}  // namespace PrivateRuntimeFolder
