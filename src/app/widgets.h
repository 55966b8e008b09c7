#pragma once

#include <QString>
#include <QWidget>

namespace app {

// Creates a child widget that carries its name as objectName, so that code and tests find it.
template <typename W> W *named(QWidget *parent, const char *name)
{
    auto *w = new W(parent);
    w->setObjectName(QString::fromUtf8(name));
    return w;
}

template <typename W> W *named(QWidget *parent, const char *name, const QString &text)
{
    auto *w = new W(text, parent);
    w->setObjectName(QString::fromUtf8(name));
    return w;
}

} // namespace app
