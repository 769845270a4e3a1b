#include "ModalAnswer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QTest>
#include <QLabel>
#include <QTimer>

#include <algorithm>

namespace ModalAnswer {

namespace {

QString caption(const QAbstractButton *button)
{
    return button->text().remove(QLatin1Char('&'));
}

QList<QAbstractButton *> visibleButtons(QWidget *dialog)
{
    QList<QAbstractButton *> buttons;
    for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>())
        if (button->isVisible())
            buttons.append(button);
    std::sort(buttons.begin(), buttons.end(), [](QAbstractButton *a, QAbstractButton *b) {
        return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
    });
    return buttons;
}

}

void whenShown(const std::function<void(QWidget *)> &answer, int timeoutMs)
{
    auto *poll = new QTimer;
    auto elapsed = std::make_shared<int>(0);
    poll->setInterval(20);
    QObject::connect(poll, &QTimer::timeout, [poll, elapsed, answer, timeoutMs] {
        QWidget *dialog = QApplication::activeModalWidget();
        *elapsed += poll->interval();
        if ((dialog && dialog->isVisible()) || *elapsed > timeoutMs) {
            poll->stop();
            poll->deleteLater();
            if (dialog && dialog->isVisible()) {
                answer(dialog);
                // A check that failed while answering leaves the dialog open: closed, the test goes on to report it.
                if (QTest::currentTestFailed() && dialog->isVisible())
                    dialog->close();
            }
        }
    });
    poll->start();
}

Seen describe(QWidget *dialog)
{
    Seen seen;
    seen.shown = true;
    seen.title = dialog->windowTitle();
    for (const QLabel *label : dialog->findChildren<QLabel *>())
        if (label->isVisible() && !label->text().isEmpty() && seen.text.isEmpty())
            seen.text = label->text();
    for (const QAbstractButton *button : visibleButtons(dialog))
        seen.buttons.append(caption(button));
    return seen;
}

std::shared_ptr<Seen> press(const QString &buttonCaption, int timeoutMs)
{
    auto seen = std::make_shared<Seen>();
    whenShown(
        [seen, buttonCaption](QWidget *dialog) {
            *seen = describe(dialog);
            if (buttonCaption.isEmpty()) {
                dialog->close();
                return;
            }
            for (QAbstractButton *button : visibleButtons(dialog)) {
                if (caption(button) == buttonCaption) {
                    button->click();
                    return;
                }
            }
            dialog->close();
        },
        timeoutMs);
    return seen;
}

void chooseFile(const QString &path, const std::function<void()> &afterChoosing)
{
    ModalAnswer::whenShown([path, afterChoosing](QWidget *shown) {
        auto *dialog = qobject_cast<QFileDialog *>(shown);
        QVERIFY(dialog);
        // A whole path typed while the dialog still reads its first folder may lose to the
        // file it was opened on.
        auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        const QFileInfo file(path);
        dialog->setDirectory(file.absolutePath());
        name->setText(file.fileName());
        // The list's selection too: a file the dialog was opened on stays selected there
        // and may be what it takes otherwise.
        dialog->selectFile(file.fileName());
        if (afterChoosing)
            afterChoosing();
        QMetaObject::invokeMethod(dialog, "accept");
    });
}

}
