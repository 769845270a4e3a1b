#pragma once

#include <QVariant>

#include <functional>

class QMimeData;
class QWidget;

// The current person dragged onto a category: from the name and the category strip in
// the title bar, and from the browse list.
namespace PersonDrag {

// Pressed and moved, the widget drags the person the function gives (none: no drag).
void enableFrom(QWidget *source, std::function<QVariant()> person);
bool carriesPerson(const QMimeData *data);
QMimeData *personData(const QVariant &person);

}
