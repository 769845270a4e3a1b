#pragma once

#include <QStringList>

class QWidget;

// Opens a new message in the user's mail program, for the user to finish and send.
// fields are "name=value" lines (split at the first '='; names in any case):
//   to            the one recipient's address
//   subject, body the message's subject and text
//   attachment0, attachment1, ...  full paths of files to attach, numbered from 0;
//                 the first missing number ends the list
// A missing or empty value leaves the field out.
// The message goes to xdg-email; when that is missing or fails, a mailto: address is
// opened through the desktop instead, without the attachments, which mailto cannot carry.
// Returns 0 when a mail program was given the message (whether the user sends it is not
// known), 1 when neither way worked; the user has then been told so in a message box.
// window is the window the message is written from; the mail program opens its own.
int SendMail(QWidget *window, const QStringList &fields);
