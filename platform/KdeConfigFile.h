#pragma once
// One of Plasma's configuration files ("kcminputrc", "kdeglobals"): groups in brackets,
// nested groups as consecutive brackets ("[Libinput][1133][49291][Mouse]"), "key=value"
// entries. Only the entries this program touches are read or written; every other byte of
// the file (other groups and keys, comments, localized and immutable variants, line ends)
// stays as it was. Values are plain numbers and words, so KDE's escapes do not arise.
// Writes take KConfig's lock file and replace the file atomically, so Plasma and this
// program never see half a file.
#include <QByteArray>
#include <QString>
#include <QStringList>

class KdeConfigFile {
public:
    // The file in the user's configuration folder ($XDG_CONFIG_HOME, else ~/.config).
    static KdeConfigFile inUserConfig(const QString &fileName);
    explicit KdeConfigFile(QString path);

    const QString &path() const { return filePath; }

    // The entry's value; a null string when the file, group or key is missing.
    QString value(const QStringList &group, const QString &key) const;
    // Sets the entry, creating the file, group or key where missing. False when the file
    // cannot be read, locked or written; the file is then unchanged.
    bool setValue(const QStringList &group, const QString &key, const QString &value);

private:
    struct Position;
    // Where the group's entries lie in lines and, if present, the key's line.
    static Position find(const QList<QByteArray> &lines, const QStringList &group,
                         const QString &key);
    bool readLines(QList<QByteArray> *lines) const;
    bool writeLines(const QList<QByteArray> &lines) const;

    QString filePath;
};
