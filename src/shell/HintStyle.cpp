#include "HintStyle.h"

#include <QApplication>
#include <QProxyStyle>
#include <QToolTip>

namespace {

class HintPauseStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == QStyle::SH_ToolTip_WakeUpDelay)
            return 100;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

}

void InstallHintPause()
{
    QApplication::setStyle(new HintPauseStyle(QApplication::style()->name()));
}

void ApplyHintColours(const QColor &background, const QColor &text)
{
    QPalette palette = QToolTip::palette();
    palette.setColor(QPalette::ToolTipBase, background);
    palette.setColor(QPalette::ToolTipText, text);
    QToolTip::setPalette(palette);
}
