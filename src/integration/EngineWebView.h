#pragma once

#include "WebView.h"

class QWebEngineView;

// The full browser engine, where the build has it: the page as a browser shows it,
// scripts included. Like the light view, links leave for the user's own browser.
class EngineWebView : public WebView
{
    Q_OBJECT
public:
    explicit EngineWebView(QWidget *parent);

    QWidget *widget() override;
    QString address() const override { return m_address; }
    bool isLoading() const override { return m_loading; }
    void navigate(const QString &address) override;
    void reload() override;
    void readSource(std::function<void(std::optional<QString>)> done) override;

private:
    QWebEngineView *m_view = nullptr;
    QString m_address;
    bool m_loading = false;
};
