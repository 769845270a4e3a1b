#include "WebPanel.h"

#include "ColourScheme.h"
#include "ProgramPaths.h"
#include "PublicFunctions.h"
#include "Settings.h"
#include "WebView.h"

#include <QCoreApplication>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSplitter>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace {

QString nastavitve()
{
    return QString::fromLatin1(KeyNastavitve);
}

// A host name or address with an optional port, nothing more: the value goes into the
// address as it stands.
QString configuredHost()
{
    QString host = ReadIniString(ProgramPaths::iniFile(), QString::fromLatin1(IniGlavno), QString::fromLatin1(IniWebHost))
                       .trimmed();
    if (host.startsWith(QLatin1String("http://"), Qt::CaseInsensitive))
        host.remove(0, 7);
    while (host.endsWith(QLatin1Char('/')) || host.endsWith(QLatin1Char('\\')))
        host.chop(1);
    static const QRegularExpression valid(
        QStringLiteral("^([A-Za-z0-9](?:[A-Za-z0-9.-]*[A-Za-z0-9])?|\\[[0-9A-Fa-f:.]+\\])(:[0-9]{1,5})?$"));
    return valid.match(host).hasMatch() ? host : QString();
}

// Stored day counts as whole minutes. The tolerance keeps a stored 7 minutes
// (0.00486111111111111 days) from coming out as 6.
qint64 wholeMinutes(double days)
{
    const double minutes = days * 24 * 60;
    if (!std::isfinite(minutes) || minutes <= 0)
        return 0;
    if (minutes >= double(std::numeric_limits<qint64>::max() / 2))
        return std::numeric_limits<qint64>::max() / 2;
    return qint64(std::floor(minutes + 1e-6));
}

QString colourDigits(const QColor &colour)
{
    return QStringLiteral("%1%2%3")
        .arg(colour.red(), 2, 16, QLatin1Char('0'))
        .arg(colour.green(), 2, 16, QLatin1Char('0'))
        .arg(colour.blue(), 2, 16, QLatin1Char('0'))
        .toUpper();
}

}

QString BuildPanelAddress()
{
    const QString host = configuredHost();
    if (host.isEmpty())
        return QString();
    const QString key = nastavitve();
    const QString language =
        QCoreApplication::translate("WebPanel", "si", "language code the information server knows the program's texts by");
    return QStringLiteral("http://%1\\veldra\\html\\index.php?pid=veldra").arg(host)
           + QStringLiteral("&ver=") + GetProgramVersion()
           + QStringLiteral("&bcolor=") + colourDigits(ColourScheme.CT_WBack)
           + QStringLiteral("&lang=") + language
           + QStringLiteral("&stato=") + QString::number(ReadRegInt(key, QStringLiteral("stato"), 0))
           + QStringLiteral("&statoh=") + QString::number(wholeMinutes(ReadRegDouble(key, QStringLiteral("statoh"), 0)))
           + QStringLiteral("&statoha=") + QString::number(wholeMinutes(ReadRegDouble(key, QStringLiteral("statoha"), 0)))
           + QStringLiteral("&statr=") + QString::number(ReadRegInt(key, QStringLiteral("statr"), 0));
}

int PageWidthFromSource(const std::optional<QString> &source)
{
    static const QLatin1String marker("<meta pagewidth=\"");
    if (!source)
        return 0;
    const qsizetype start = source->indexOf(marker, 0, Qt::CaseInsensitive);
    if (start < 0)
        return 0;
    const qsizetype from = start + marker.size();
    const qsizetype end = source->indexOf(QLatin1Char('"'), from);
    if (end < 0)
        return 0;
    bool ok = false;
    const int width = source->mid(from, end - from).trimmed().toInt(&ok);
    return ok ? width : 0;
}

// A fixed width is cut too: a page must not push the person window out of sight.
int LimitPageWidth(int width, int room)
{
    room = qMax(room, 0);
    if (qAbs(qint64(width)) > room)
        width = width < 0 ? -room : room;
    return width;
}

WebPanel::WebPanel(QWidget *area, PersonCount countPersons)
    : QObject(area)
    , m_area(area)
    , m_frame(area->parentWidget())
    , m_countPersons(std::move(countPersons))
{
    setObjectName(QStringLiteral("WebPanelControl"));
    if (m_frame) {
        m_splitter = qobject_cast<QSplitter *>(m_frame->parentWidget());
        m_progress = m_frame->findChild<QProgressBar *>(QStringLiteral("ProgressBar1"));
    }
    if (m_progress) {
        m_progress->setValue(0);
        m_progress->hide();
    }
}

void WebPanel::RefreshWebPanel(bool periodic)
{
    const QString address = BuildPanelAddress();
    if (address.isEmpty()) {
        applyWidth(0);
    } else {
        if (!m_view) {
            m_view = CreateWebView(m_area);
            auto *layout = m_area->layout() ? m_area->layout() : new QVBoxLayout(m_area);
            layout->setContentsMargins(0, 0, 0, 0);
            layout->addWidget(m_view->widget());
            connect(m_view, &WebView::progressChanged, this, &WebPanel::progressChanged);
            connect(m_view, &WebView::documentComplete, this, &WebPanel::documentComplete);
        }
        if (m_view->address().compare(address, Qt::CaseInsensitive) != 0)
            m_view->navigate(address);
        if (!m_view->isLoading())
            m_view->reload();
    }
    // Stored after the address was built, so the server hears the count of the refresh before.
    if (periodic && m_countPersons) {
        try {
            if (const std::optional<int> persons = m_countPersons())
                WriteRegString(nastavitve(), QStringLiteral("statr"), QString::number(*persons));
        } catch (...) {
            // A usage figure; a database that fails here must not stop the timer.
        }
    }
}

void WebPanel::documentComplete()
{
    if (m_progress) {
        m_progress->hide();
        m_progress->setValue(0);
    }
    m_view->readSource([panel = QPointer<WebPanel>(this)](const std::optional<QString> &source) {
        if (!panel)
            return;
        panel->applyWidth(LimitPageWidth(PageWidthFromSource(source), panel->roomBesidePersonWindow()));
        Q_EMIT panel->pageMeasured();
    });
}

void WebPanel::progressChanged(qint64 progress, qint64 maximum)
{
    if (!m_progress)
        return;
    const qint64 top = qBound(qint64(0), maximum, qint64(std::numeric_limits<int>::max()));
    const int position = int(qBound(qint64(0), progress, top));
    m_progress->setMaximum(int(top));
    m_progress->setValue(position);
    m_progress->setVisible(position != 0);
}

int WebPanel::roomBesidePersonWindow() const
{
    if (!m_splitter)
        return 0;
    int person = 0;
    if (const QWidget *window = m_splitter->window()->findChild<QWidget *>(QStringLiteral("FVeldra"))) {
        const auto *frame = qobject_cast<const QMdiSubWindow *>(window->parentWidget());
        const QWidget *outer = frame ? static_cast<const QWidget *>(frame) : window;
        // A maximised window takes whatever room there is, so its width says nothing
        // about the room it needs: it needs the width that still shows it whole.
        person = outer->isMaximized() ? outer->minimumSizeHint().width() : outer->width();
    }
    return m_splitter->width() - person - m_splitter->handleWidth();
}

// A width of 0 shuts the panel to one pixel; a positive one may be dragged down and
// snaps shut, a negative one is fixed at its size.
void WebPanel::applyWidth(int width)
{
    if (!m_frame || !m_splitter)
        return;
    const int index = m_splitter->indexOf(m_frame);
    if (index < 0 || m_splitter->count() < 2)
        return;
    const int size = width == 0 ? 1 : qAbs(width);
    m_frame->setMinimumWidth(width < 0 ? size : 1);
    m_splitter->setCollapsible(index, width >= 0);
    QList<int> sizes = m_splitter->sizes();
    int total = 0;
    for (int part : sizes)
        total += part;
    for (int &part : sizes)
        part = 0;
    sizes[index] = size;
    // The rest goes to the first other part, the child-window area.
    sizes[index == 0 ? 1 : 0] = qMax(0, total - size);
    m_splitter->setSizes(sizes);
}

void FillWebPanel(QWidget *area, bool firstTime, const WebPanel::PersonCount &countPersons)
{
    if (!area)
        return;
    auto *panel = area->findChild<WebPanel *>(QString(), Qt::FindDirectChildrenOnly);
    if (!panel)
        panel = new WebPanel(area, countPersons);
    panel->RefreshWebPanel(!firstTime);
}
