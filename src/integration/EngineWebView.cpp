#include "EngineWebView.h"

#include <QDesktopServices>
#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace {

bool isWebUrl(const QUrl &url)
{
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}

void openOutside(const QUrl &url)
{
    if (isWebUrl(url))
        QDesktopServices::openUrl(url);
}

// The panel's page stays where the program put it: what the user follows opens in the
// user's own browser, and so does what the page asks to open in a window of its own.
class PanelPage : public QWebEnginePage
{
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl &url, NavigationType type, bool isMainFrame) override
    {
        if (type == NavigationTypeLinkClicked && isMainFrame) {
            openOutside(url);
            return false;
        }
        return true;
    }

    QWebEnginePage *createWindow(WebWindowType) override
    {
        // A page of the moment that hands its first address on and goes.
        auto *window = new QWebEnginePage(profile(), this);
        connect(window, &QWebEnginePage::urlChanged, this, [window](const QUrl &url) {
            openOutside(url);
            window->deleteLater();
        });
        return window;
    }
};

}

EngineWebView::EngineWebView(QWidget *parent)
    : WebView(parent)
    , m_view(new QWebEngineView(parent))
{
    m_view->setObjectName(QStringLiteral("WebBrowser1"));
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    // Off the record: the panel leaves no cookies, cache or history on the disk. The
    // profile must outlive its page, so it goes only once the page has gone.
    auto *profile = new QWebEngineProfile;
    auto *page = new PanelPage(profile, m_view);
    connect(page, &QObject::destroyed, profile, &QObject::deleteLater);
    QWebEngineSettings *settings = page->settings();
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    settings->setAttribute(QWebEngineSettings::ErrorPageEnabled, true);
    // A narrow panel shows no page icon: no need to ask the server for one.
    settings->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
    m_view->setPage(page);
    connect(m_view, &QWebEngineView::loadStarted, this, [this] { m_loading = true; });
    connect(m_view, &QWebEngineView::loadProgress, this, [this](int percent) { Q_EMIT progressChanged(percent, 100); });
    connect(m_view, &QWebEngineView::loadFinished, this, [this] {
        m_loading = false;
        Q_EMIT documentComplete();
    });
}

QWidget *EngineWebView::widget()
{
    return m_view;
}

void EngineWebView::navigate(const QString &address)
{
    m_address = address;
    m_loading = true;
    m_view->load(WebAddressToUrl(address));
}

void EngineWebView::reload()
{
    if (m_address.isEmpty())
        return;
    m_loading = true;
    m_view->reload();
}

void EngineWebView::readSource(std::function<void(std::optional<QString>)> done)
{
    m_view->page()->toHtml([done = std::move(done)](const QString &source) { done(source); });
}
