#include "platform/files/WaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

WaitCursor::WaitCursor(Qt::CursorShape shape)
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        QGuiApplication::setOverrideCursor(QCursor(shape));
        m_active = true;
    }
}

WaitCursor::~WaitCursor()
{
    // Only when the application still exists: a guard outliving it restores nothing.
    if (m_active && qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        QGuiApplication::restoreOverrideCursor();
}
