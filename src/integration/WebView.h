#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;
class QTextBrowser;
class QWidget;

// The small browser the web information panel shows its page in. A view with a full
// engine can stand in for the light one without the panel noticing.
class WebView : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    virtual QWidget *widget() = 0;
    // The address last navigated to, as it was given.
    virtual QString address() const = 0;
    virtual bool isLoading() const = 0;
    virtual void navigate(const QString &address) = 0;
    // Loads the current address again; nothing when there is none.
    virtual void reload() = 0;
    // The source text of the page shown, or nothing when it cannot be read. Engines that
    // only know it later answer later, always on the user-interface thread.
    virtual void readSource(std::function<void(std::optional<QString>)> done) = 0;

Q_SIGNALS:
    void progressChanged(qint64 progress, qint64 maximum);
    void documentComplete();
};

// Whether this build has the full browser engine.
bool EngineWebViewBuilt();
// The engine's needs before the application object is made.
void PrepareWebViews();
// Set to "light", the light view stands in for the engine (a machine where the engine
// cannot start, or a user who wants the panel small).
inline constexpr auto WebViewVariable = "VELDRA_WEB_VIEW";
// The view this build offers, a child of parent.
WebView *CreateWebView(QWidget *parent);

// Browsers take "\" in an http address for "/"; the light view does the same.
QUrl WebAddressToUrl(const QString &address);

// A text browser over the network: HTML and pictures, no scripts. Links open in the
// user's own browser, so the narrow panel keeps its page.
class LightWebView : public WebView
{
    Q_OBJECT
public:
    // A page larger than this is not shown.
    static constexpr qint64 MaxPageBytes = 4 * 1024 * 1024;

    explicit LightWebView(QWidget *parent);
    ~LightWebView() override;

    QWidget *widget() override;
    QString address() const override { return m_address; }
    bool isLoading() const override { return m_page != nullptr; }
    void navigate(const QString &address) override;
    void reload() override;
    void readSource(std::function<void(std::optional<QString>)> done) override;

    QTextBrowser *browser() const;

private:
    class Browser;

    void load();
    void pageFinished(QNetworkReply *reply);
    void showPage(const QString &source);
    void fetchPicture(const QUrl &url);

    QNetworkAccessManager *m_network = nullptr;
    Browser *m_browser = nullptr;
    QNetworkReply *m_page = nullptr;
    QString m_address;
    QUrl m_pageUrl;
    std::optional<QString> m_source;
    QList<QUrl> m_pictures;
};
