#include "PersonDrag.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QWidget>

namespace {

const QString mimeType = QStringLiteral("application/x-veldra-person");

class DragStarter : public QObject
{
public:
    DragStarter(QWidget *source, std::function<QVariant()> person)
        : QObject(source)
        , m_source(source)
        , m_person(std::move(person))
    {
        source->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress) {
            auto *press = static_cast<QMouseEvent *>(event);
            m_pressedAt = press->button() == Qt::LeftButton ? press->position().toPoint() : QPoint(-1, -1);
        } else if (event->type() == QEvent::MouseMove) {
            auto *move = static_cast<QMouseEvent *>(event);
            if ((move->buttons() & Qt::LeftButton) && m_pressedAt.x() >= 0
                && (move->position().toPoint() - m_pressedAt).manhattanLength() >= QApplication::startDragDistance()) {
                m_pressedAt = QPoint(-1, -1);
                const QVariant person = m_person();
                if (!person.isNull()) {
                    auto *drag = new QDrag(m_source);
                    drag->setMimeData(PersonDrag::personData(person));
                    drag->exec(Qt::LinkAction);
                    return true;
                }
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget *m_source;
    std::function<QVariant()> m_person;
    QPoint m_pressedAt{-1, -1};
};

}

namespace PersonDrag {

void enableFrom(QWidget *source, std::function<QVariant()> person)
{
    new DragStarter(source, std::move(person));
}

bool carriesPerson(const QMimeData *data)
{
    return data && data->hasFormat(mimeType);
}

QMimeData *personData(const QVariant &person)
{
    auto *data = new QMimeData;
    data->setData(mimeType, person.toString().toLatin1());
    return data;
}

}
