#include "controller/Prompts.h"

#include <QFileDialog>
#include <QMessageBox>

namespace {

class QtPrompts : public Prompts {
public:
    void warning(const QString &title, const QString &text) override
    {
        QMessageBox::warning(nullptr, title, text, QMessageBox::Ok, QMessageBox::NoButton);
    }
    bool confirm(const QString &title, const QString &text) override
    {
        return QMessageBox::warning(nullptr, title, text, QMessageBox::Ok | QMessageBox::Cancel,
                                    QMessageBox::Cancel)
               == QMessageBox::Ok;
    }
    QString openFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override
    {
        return QFileDialog::getOpenFileName(parent, caption, dir, filter);
    }
    QString saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                         const QString &filter) override
    {
        return QFileDialog::getSaveFileName(parent, caption, dir, filter);
    }
};

QtPrompts qtPrompts;
Prompts *installed = nullptr;

}  // namespace

Prompts &Prompts::current()
{
    return installed ? *installed : static_cast<Prompts &>(qtPrompts);
}

void Prompts::install(Prompts *prompts)
{
    installed = prompts;
}
