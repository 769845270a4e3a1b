#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class QProgressBar;
class QSplitter;
class QWidget;
class WebView;

// The information server's host, with a port when needed ("info.example.org:8080"):
// program INI, section "Glavno", key "WebHost". Without one the panel asks nothing.
inline constexpr auto IniWebHost = "WebHost";

// The information page's address, built from the stored usage figures; empty when no
// valid host is configured.
QString BuildPanelAddress();

// The width a page asks for with <meta pagewidth="N">; 0 when it asks for none.
int PageWidthFromSource(const std::optional<QString> &source);
// The asked width cut to the room beside the person window, keeping its sign (a
// negative width is fixed, a positive one may be snapped shut); 0 shuts the panel.
int LimitPageWidth(int width, int room);

// The web information panel inside the main window's "WebPanel" area. The area's parent
// "PanelWeb" sits in the splitter "Splitter1" with the progress bar "ProgressBar1".
class WebPanel : public QObject
{
    Q_OBJECT
public:
    using PersonCount = std::function<std::optional<int>()>;

    WebPanel(QWidget *area, PersonCount countPersons);

    // Navigates to the page or reloads it; a periodic refresh then stores the person count.
    void RefreshWebPanel(bool periodic);

    WebView *view() const { return m_view; }

Q_SIGNALS:
    // A page has come and the panel has taken the width it asks for.
    void pageMeasured();

private:
    void documentComplete();
    void progressChanged(qint64 progress, qint64 maximum);
    void applyWidth(int width);
    int roomBesidePersonWindow() const;

    QWidget *m_area = nullptr;
    QWidget *m_frame = nullptr;
    QSplitter *m_splitter = nullptr;
    QProgressBar *m_progress = nullptr;
    WebView *m_view = nullptr;
    PersonCount m_countPersons;
};

// MainWindowServices::fillWebPanel: the first call creates the panel in area, every call
// refreshes it (periodically when not the first time).
void FillWebPanel(QWidget *area, bool firstTime, const WebPanel::PersonCount &countPersons);
