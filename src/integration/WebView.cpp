#include "WebView.h"

#ifdef VELDRA_WEB_ENGINE
#include "EngineWebView.h"
#endif

#include <QCoreApplication>
#include <QDesktopServices>
#include <QImage>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>
#include <QTextBrowser>

#include <unistd.h>

namespace {

constexpr int TransferTimeoutMs = 30000;

bool isWebUrl(const QUrl &url)
{
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}

QString decodePage(QNetworkReply *reply, const QByteArray &data)
{
    const QString type = reply->header(QNetworkRequest::ContentTypeHeader).toString();
    const qsizetype charset = type.indexOf(QLatin1String("charset="), 0, Qt::CaseInsensitive);
    if (charset >= 0) {
        const QByteArray name = type.mid(charset + 8).section(QLatin1Char(';'), 0, 0).trimmed().remove(QLatin1Char('"')).toLatin1();
        QStringDecoder decoder(name.constData());
        if (decoder.isValid())
            return decoder.decode(data);
    }
    QStringDecoder decoder = QStringDecoder::decoderForHtml(data);
    if (decoder.isValid())
        return decoder.decode(data);
    return QString::fromUtf8(data);
}

}

// Pictures come over the network as the page does; nothing is read from local files,
// whatever a page names.
class LightWebView::Browser : public QTextBrowser
{
public:
    Browser(LightWebView &view, QWidget *parent)
        : QTextBrowser(parent)
        , m_view(view)
    {
    }

    QVariant loadResource(int type, const QUrl &name) override
    {
        if (type == QTextDocument::ImageResource) {
            const QUrl url = m_view.m_pageUrl.resolved(name);
            if (isWebUrl(url) && !m_view.m_pictures.contains(url)) {
                m_view.m_pictures.append(url);
                m_view.fetchPicture(name);
            }
            // An empty answer rather than none: the document would read local files itself.
            return QImage();
        }
        return QString();
    }

private:
    LightWebView &m_view;
};

bool EngineWebViewBuilt()
{
#ifdef VELDRA_WEB_ENGINE
    return true;
#else
    return false;
#endif
}

void PrepareWebViews()
{
    if (!EngineWebViewBuilt())
        return;
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The engine refuses to start as the superuser with its sandbox on.
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

WebView *CreateWebView(QWidget *parent)
{
#ifdef VELDRA_WEB_ENGINE
    if (qEnvironmentVariable(WebViewVariable) != QLatin1String("light"))
        return new EngineWebView(parent);
#endif
    return new LightWebView(parent);
}

QUrl WebAddressToUrl(const QString &address)
{
    QString text = address;
    const qsizetype query = text.indexOf(QLatin1Char('?'));
    for (qsizetype i = 0; i < (query < 0 ? text.size() : query); ++i) {
        if (text[i] == QLatin1Char('\\'))
            text[i] = QLatin1Char('/');
    }
    return QUrl(text, QUrl::TolerantMode);
}

LightWebView::LightWebView(QWidget *parent)
    : WebView(parent)
    , m_network(new QNetworkAccessManager(this))
    , m_browser(new Browser(*this, parent))
{
    m_browser->setObjectName(QStringLiteral("WebBrowser1"));
    m_browser->setOpenLinks(false);
    m_browser->setContextMenuPolicy(Qt::NoContextMenu);
    connect(m_browser, &QTextBrowser::anchorClicked, this, [this](const QUrl &link) {
        const QUrl url = m_pageUrl.resolved(link);
        if (isWebUrl(url))
            QDesktopServices::openUrl(url);
    });
}

LightWebView::~LightWebView()
{
    if (m_page)
        m_page->disconnect(this);
}

QWidget *LightWebView::widget()
{
    return m_browser;
}

QTextBrowser *LightWebView::browser() const
{
    return m_browser;
}

void LightWebView::navigate(const QString &address)
{
    m_address = address;
    m_pageUrl = WebAddressToUrl(address);
    load();
}

void LightWebView::reload()
{
    if (!m_address.isEmpty())
        load();
}

void LightWebView::readSource(std::function<void(std::optional<QString>)> done)
{
    done(m_source);
}

void LightWebView::load()
{
    // Only the newest request counts: an older one is dropped unheard.
    if (QNetworkReply *old = std::exchange(m_page, nullptr)) {
        old->disconnect(this);
        old->abort();
        old->deleteLater();
    }
    QNetworkRequest request(m_pageUrl);
    request.setTransferTimeout(TransferTimeoutMs);
    QNetworkReply *reply = m_network->get(request);
    m_page = reply;
    connect(reply, &QNetworkReply::downloadProgress, this, [this, reply](qint64 received, qint64 total) {
        if (received > MaxPageBytes) {
            reply->abort();
            return;
        }
        Q_EMIT progressChanged(received, total > 0 ? total : received);
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { pageFinished(reply); });
}

void LightWebView::pageFinished(QNetworkReply *reply)
{
    reply->deleteLater();
    if (reply != m_page)
        return;
    m_page = nullptr;
    // A server's own error page is still its page; without an answer the view tells why.
    const bool answered = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()
                          && reply->error() != QNetworkReply::OperationCanceledError;
    const QByteArray data = answered ? reply->readAll() : QByteArray();
    if (answered && !data.isEmpty()) {
        showPage(decodePage(reply, data));
    } else {
        const QString reason = answered ? reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString()
                                        : reply->errorString();
        showPage(tr("<html><body><p>Strani %1 ni mogoče naložiti.</p><p>%2</p></body></html>")
                     .arg(m_pageUrl.toString().toHtmlEscaped(), reason.toHtmlEscaped()));
    }
    Q_EMIT documentComplete();
}

void LightWebView::showPage(const QString &source)
{
    m_source = source;
    m_pictures.clear();
    m_browser->document()->clear();
    m_browser->setHtml(source);
}

void LightWebView::fetchPicture(const QUrl &name)
{
    QNetworkRequest request(m_pageUrl.resolved(name));
    request.setTransferTimeout(TransferTimeoutMs);
    QNetworkReply *reply = m_network->get(request);
    const QUrl page = m_pageUrl;
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > MaxPageBytes)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, name, page] {
        reply->deleteLater();
        if (page != m_pageUrl || m_page || reply->error() != QNetworkReply::NoError)
            return;
        const QImage picture = QImage::fromData(reply->readAll());
        if (picture.isNull())
            return;
        QTextDocument *document = m_browser->document();
        document->addResource(QTextDocument::ImageResource, name, picture);
        document->markContentsDirty(0, document->characterCount());
    });
}
