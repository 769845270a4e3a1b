#include "FrameActivation.h"

#include <QMdiSubWindow>

void FollowFrameActivation(QMdiSubWindow *frame, QObject *window, std::function<void()> activated,
                           std::function<void()> deactivated)
{
    QObject::connect(frame, &QMdiSubWindow::windowStateChanged, window,
                     [activated = std::move(activated), deactivated = std::move(deactivated)](Qt::WindowStates before,
                                                                                             Qt::WindowStates now) {
                         const bool wasActive = before & Qt::WindowActive;
                         const bool isActive = now & Qt::WindowActive;
                         if (isActive && !wasActive)
                             activated();
                         else if (wasActive && !isActive)
                             deactivated();
                     });
}
