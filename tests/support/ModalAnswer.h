#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;

// Tests answer modal dialogs through the widget tree, as a user would with the mouse.
namespace ModalAnswer {

struct Seen
{
    bool shown = false;
    QString title;
    QString text;         // the message, for message boxes
    QStringList buttons;  // captions of the visible buttons, left to right
};

// Calls answer with the next modal dialog once it shows (or gives up after the timeout).
void whenShown(const std::function<void(QWidget *)> &answer, int timeoutMs = 5000);

// Presses the visible button with that caption in the next modal dialog (program's own
// message box or the platform's); an empty caption closes the dialog with its close box.
std::shared_ptr<Seen> press(const QString &caption, int timeoutMs = 5000);

Seen describe(QWidget *dialog);

// Chooses the file in the next file dialog, as a user would: its folder opened, its
// name typed. What is to answer the dialog after it is set up in afterChoosing.
void chooseFile(const QString &path, const std::function<void()> &afterChoosing = {});

}
