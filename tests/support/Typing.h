#pragma once

#include <QString>

class QWidget;

// Types text into a widget key by key, as a user would, letters of any alphabet included.
void typeText(QWidget *widget, const QString &text);
