#pragma once

#include <functional>

class QMdiSubWindow;
class QObject;

// A workspace window learns of its activation through its frame in the main window:
// the calls follow the frame becoming the active one and ceasing to be, for as long as
// the window lives.
void FollowFrameActivation(QMdiSubWindow *frame, QObject *window, std::function<void()> activated,
                           std::function<void()> deactivated);
