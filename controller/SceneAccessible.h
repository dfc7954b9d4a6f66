#pragma once
// What a screen reader finds under the program's window. A QQuickWidget draws its scene in a
// window of its own that is never shown, and Qt 5 presents the scene's items under that window
// only; this presents them as the scene widget's children, in the scene's order (the Tab order).
#include <QAccessibleWidget>

class QQuickWidget;

class SceneAccessible : public QAccessibleWidget {
public:
    explicit SceneAccessible(QQuickWidget *view);

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *focusChild() const override;
    QAccessibleInterface *childAt(int x, int y) const override;

    // Makes every scene widget of the given class present its scene this way; once per program.
    static void installFor(const char *className);

private:
    // The scene window's own interface, whose children are the scene's top items.
    QAccessibleInterface *scene() const;
};
