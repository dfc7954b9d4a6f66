#include "controller/SceneAccessible.h"

#include <QQuickWidget>
#include <QQuickWindow>

namespace {
const char *widgetClass = nullptr;

QAccessibleInterface *makeForScene(const QString &className, QObject *object)
{
    if (!widgetClass || className != QLatin1String(widgetClass) || !object || !object->isWidgetType())
        return nullptr;
    auto *view = qobject_cast<QQuickWidget *>(object);
    return view ? new SceneAccessible(view) : nullptr;
}
}  // namespace

SceneAccessible::SceneAccessible(QQuickWidget *view) : QAccessibleWidget(view, QAccessible::Client) {}

void SceneAccessible::installFor(const char *className)
{
    if (widgetClass)
        return;
    widgetClass = className;
    QAccessible::installFactory(makeForScene);
}

QAccessibleInterface *SceneAccessible::scene() const
{
    QQuickWindow *window = static_cast<QQuickWidget *>(widget())->quickWindow();
    return window ? QAccessible::queryAccessibleInterface(window) : nullptr;
}

int SceneAccessible::childCount() const
{
    QAccessibleInterface *root = scene();
    return root ? root->childCount() : 0;
}

QAccessibleInterface *SceneAccessible::child(int index) const
{
    QAccessibleInterface *root = scene();
    return root ? root->child(index) : nullptr;
}

int SceneAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    QAccessibleInterface *root = scene();
    return root ? root->indexOfChild(child) : -1;
}

QAccessibleInterface *SceneAccessible::focusChild() const
{
    QAccessibleInterface *root = scene();
    return root ? root->focusChild() : nullptr;
}

QAccessibleInterface *SceneAccessible::childAt(int x, int y) const
{
    QAccessibleInterface *root = scene();
    return root ? root->childAt(x, y) : nullptr;
}
