#include "controller/DialogPrompts.h"

#include <QFileDialog>
#include <QMessageBox>

void DialogPrompts::warning(const QString &title, const QString &text)
{
    QMessageBox::warning(nullptr, title, text, QMessageBox::Ok, QMessageBox::NoButton);
}

bool DialogPrompts::confirm(const QString &title, const QString &text)
{
    return QMessageBox::warning(nullptr, title, text, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel)
           == QMessageBox::Ok;
}

QString DialogPrompts::openFileName(QWidget *parent, const QString &caption, const QString &dir,
                                    const QString &filter)
{
    return QFileDialog::getOpenFileName(parent, caption, dir, filter);
}

QString DialogPrompts::saveFileName(QWidget *parent, const QString &caption, const QString &dir,
                                    const QString &filter)
{
    return QFileDialog::getSaveFileName(parent, caption, dir, filter);
}
