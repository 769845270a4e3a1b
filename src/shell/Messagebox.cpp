#include "Messagebox.h"

#include "ColourScheme.h"
#include "FlatButton.h"
#include "PublicFunctions.h"

#include <QKeyEvent>
#include <QLabel>

TFMessageBox *FMessageBox = nullptr;

namespace {
// Each button carries the result it gives, set for the kind being shown.
const char *const resultName = "modalResult";
}

TFMessageBox::TFMessageBox(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_instance(FMessageBox, this)
{
    setObjectName(QStringLiteral("FMessageBox"));
    FormCreate();
}

TFMessageBox *TFMessageBox::instance()
{
    if (!FMessageBox)
        new TFMessageBox();
    return FMessageBox;
}

void TFMessageBox::FormCreate()
{
    setModal(true);
    setFixedSize(300, 91);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, ColourScheme.CT_WBack);
    setPalette(colours);

    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("Label1"));
    m_text->setGeometry(6, 6, 286, 49);
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setWordWrap(true);
    m_text->setTextFormat(Qt::PlainText);

    const auto makeButton = [this](const char *name, int left) {
        auto *button = new FlatButton(QString(), this);
        button->setObjectName(QString::fromLatin1(name));
        button->setGeometry(left, 62, 73, 21);
        connect(button, &FlatButton::clicked, this, [this, button] { done(button->property(resultName).toInt()); });
        return button;
    };
    m_left = makeButton("ButtonLeft", 12);
    m_middle = makeButton("ButtonMiddle", 110);
    m_right = makeButton("ButtonRight", 212);
    StyleButtons(this);
}

int TFMessageBox::ask(const QString &text, int kind)
{
    m_message = text;
    m_kind = kind;
    return exec();
}

void TFMessageBox::showEvent(QShowEvent *event)
{
    FormShow();
    QDialog::showEvent(event);
}

void TFMessageBox::setButton(FlatButton *button, const QString &caption, int result)
{
    button->setText(caption);
    button->setProperty(resultName, result);
    button->setVisible(!caption.isEmpty());
}

void TFMessageBox::FormShow()
{
    setWindowTitle(QString::fromLatin1(ApplicationTitle));
    m_text->setText(m_message);
    const QString cancel = tr("Prekliči"), ok = tr("V redu"), yes = tr("Da"), no = tr("Ne"), retry = tr("Ponovno");
    struct Row { QString left; int leftResult; QString middle; int middleResult; QString right; int rightResult; };
    Row row;
    switch (m_kind) {
    case 1: row = {cancel, 2, {}, 0, ok, 1}; break;
    case 2: row = {tr("Prekini"), 3, tr("Preskoci"), 5, retry, 4}; break;
    case 3: row = {cancel, 2, no, 7, yes, 6}; break;
    case 4: row = {no, 7, {}, 0, yes, 6}; break;
    case 5: row = {retry, 4, {}, 0, ok, 1}; break;
    default: row = {{}, 0, ok, 1, {}, 0}; break;
    }
    setButton(m_left, row.left, row.leftResult);
    setButton(m_middle, row.middle, row.middleResult);
    setButton(m_right, row.right, row.rightResult);
}

void TFMessageBox::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void TFMessageBox::reject()
{
    // The close box (and the window manager's close keys) answer Cancel.
    done(2);
}
