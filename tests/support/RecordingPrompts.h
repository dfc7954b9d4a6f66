#pragma once
// Prompts that record what the program asked and answer from a script.
#include "controller/Prompts.h"

#include <QStringList>

class RecordingPrompts : public Prompts {
public:
    struct Box {
        QString title;
        QString text;
    };

    RecordingPrompts() { Prompts::install(this); }
    ~RecordingPrompts() override { Prompts::install(nullptr); }

    void warning(const QString &title, const QString &text) override { warnings.append({title, text}); }
    bool confirm(const QString &title, const QString &text) override
    {
        confirmations.append({title, text});
        return confirmAnswer;
    }
    QString openFileName(QWidget *, const QString &caption, const QString &dir, const QString &filter) override
    {
        dialogs.append(caption + " " + filter);
        startPaths.append(dir);
        return openAnswer;
    }
    QString saveFileName(QWidget *, const QString &caption, const QString &dir, const QString &filter) override
    {
        dialogs.append(caption + " " + filter);
        startPaths.append(dir);
        return saveAnswer;
    }

    QList<Box> warnings;
    QList<Box> confirmations;
    QStringList dialogs;
    QStringList startPaths;  // where each file dialog started (folder, or folder and file name)
    bool confirmAnswer = true;
    QString openAnswer;
    QString saveAnswer;
};
