#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

// Takes the addresses the desktop is asked to open (QDesktopServices::setUrlHandler).
class UrlReceiver : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> urls;
public Q_SLOTS:
    void open(const QUrl &url) { urls.append(url); }
};
