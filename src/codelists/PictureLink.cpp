#include "PictureLink.h"

#include "Dataset.h"
#include "FlatButton.h"
#include "PublicFunctions.h"
#include "Schema.h"
#include "Settings.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QResizeEvent>
#include <QSaveFile>
#include <QVBoxLayout>

namespace {

// The characters the field's column holds; 0 for no limit.
int nameLimit(const Dataset *dataset, const QString &field)
{
    const Schema::Table *table = Schema::table(dataset->updateTable());
    const Schema::Column *column = table ? table->column(field) : nullptr;
    return column && column->type == Schema::Type::Text ? column->size : 0;
}

// The picture is written whole before it takes the target's name (replacing a file of that
// name), so a failed copy never leaves half a picture; a file is never copied onto itself.
bool copyPicture(const QString &source, const QString &target)
{
    const QFileInfo from(source), to(target);
    if (to.exists() && from.canonicalFilePath() == to.canonicalFilePath())
        return true;
    QFile in(source);
    QSaveFile out(target);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
        return false;
    while (!in.atEnd()) {
        const QByteArray block = in.read(1 << 16);
        if (block.isEmpty() || out.write(block) != block.size()) {
            out.cancelWriting();
            break;
        }
    }
    return out.commit();
}

// Shows a picture scaled to fit, keeping its proportions.
class PictureView : public QLabel
{
public:
    using QLabel::QLabel;
    void setPicture(const QPixmap &picture)
    {
        m_original = picture;
        rescale();
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QLabel::resizeEvent(event);
        rescale();
    }

private:
    void rescale()
    {
        if (m_original.isNull()) {
            clear();
            return;
        }
        const QSize space = contentsRect().size();
        setPixmap(m_original.size().boundedTo(space) == m_original.size()
                      ? m_original
                      : m_original.scaled(space, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
    QPixmap m_original;
};

}

PictureLink::PictureLink(Dataset *dataset, const QString &field, const Policy &policy, QWidget *parent)
    : QWidget(parent)
    , m_dataset(dataset)
    , m_field(field)
    , m_policy(policy)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *buttons = new QVBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    auto *open = new FlatButton(tr("Odpri"), this);
    const auto narrow = [](FlatButton *button) { button->setFixedWidth(button->fontMetrics().horizontalAdvance(button->text()) + 14); };
    open->setObjectName(QStringLiteral("FlatButton1"));
    open->setToolTip(tr("Naloži sliko"));
    auto *forget = new FlatButton(tr("Briši"), this);
    forget->setObjectName(QStringLiteral("FlatButton2"));
    forget->setToolTip(tr("Izbriši povezavo na sliko"));
    for (FlatButton *button : {open, forget}) {
        button->setMinimumWidth(0);
        narrow(button);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    layout->addLayout(buttons);
    auto *view = new PictureView(this);
    view->setObjectName(QStringLiteral("Image2"));
    view->setAlignment(Qt::AlignCenter);
    view->setFrameStyle(QFrame::Box | QFrame::Plain);
    view->setAutoFillBackground(true);
    QPalette white = view->palette();
    white.setColor(QPalette::Window, Qt::white);
    view->setPalette(white);
    view->setMinimumSize(60, 60);
    m_picture = view;
    layout->addWidget(view, 1);
    StyleButtons(this);
    connect(open, &FlatButton::clicked, this, &PictureLink::load);
    connect(forget, &FlatButton::clicked, this, &PictureLink::remove);
    connect(dataset, &Dataset::currentChanged, this, &PictureLink::showPicture);
    // Typing into other fields of the row leaves the picture as it is.
    connect(dataset, &Dataset::currentValuesChanged, this, [this](int field) {
        if (field == m_dataset->fieldIndex(m_field))
            showPicture();
    });
    showPicture();
}

PictureLink::Policy PictureLink::rowPictures(const QString &subfolder, const QString &dialogTitle)
{
    return {subfolder,
            dialogTitle,
            {tr("Vse (*.jpg *.jpeg *.bmp *.ico)"), tr("JPEG slika (*.jpg)"), tr("JPEG slika (*.jpeg)"), tr("Bitmap slika (*.bmp)"),
             tr("Ikona (*.ico)")},
            4,
            {QStringLiteral(".JPG"), QStringLiteral(".JPEG"), QStringLiteral(".BMP"), QStringLiteral(".ICO")},
            {},
            false};
}

QString PictureLink::folder() const
{
    QString folder = GetImageFolder();
    if (!m_policy.subfolder.isEmpty())
        folder += m_policy.subfolder + QLatin1Char('/');
    return folder;
}

void PictureLink::load()
{
    if (m_dataset->recNo() <= 0)
        return;
    const QString pictures = folder();
    if (!QDir().mkpath(pictures)) {
        ShowMessageBox(tr("Ni mogoče kreirati mape kjer se nahajajo slike!"), 0);
        return;
    }
    const QString current = m_dataset->value(m_field).toString();
    QFileDialog dialog(this, QString(m_policy.dialogTitle + QLatin1Char(' ') + current).trimmed());
    dialog.setObjectName(QStringLiteral("OpenPictureDialog1"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(m_policy.filters);
    dialog.selectNameFilter(m_policy.filters.value(m_policy.initialFilter));
    if (!current.trimmed().isEmpty()) {
        dialog.setDirectory(pictures);
        dialog.selectFile(current);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QFileInfo chosen(dialog.selectedFiles().first());
    if (!chosen.isFile()) {
        ShowMessageBox(tr("Datoteka ne obstaja!"), 0);
        return;
    }
    const QString name = m_policy.storedName ? m_policy.storedName(chosen) : chosen.fileName();
    // A name the column cannot hold whole would be refused or cut when saved, after the copy.
    if (const int limit = nameLimit(m_dataset, m_field); limit > 0 && name.size() > limit) {
        ShowMessageBox(tr("Ime datoteke s sliko je predolgo: dovoljenih je največ %1 znakov!").arg(limit), 0);
        return;
    }
    const bool elsewhere = QDir(chosen.absolutePath()).canonicalPath().compare(QDir(pictures).canonicalPath(), Qt::CaseInsensitive) != 0;
    if ((elsewhere || m_policy.copyFromFolderToo) && !copyPicture(chosen.absoluteFilePath(), pictures + name)) {
        ShowMessageBox(tr("Slike ni mogoče prenesti v mapo s slikami!"), 0);
        return;
    }
    m_dataset->edit();
    m_dataset->setValue(m_field, name);
    m_dataset->post();
}

void PictureLink::remove()
{
    if (m_dataset->recNo() <= 0)
        return;
    if (ShowMessageBox(tr("Ali resnično želite izbrisati povezavo na sliko?"), 4) != 6)
        return;
    m_dataset->edit();
    m_dataset->setValue(m_field, QVariant());
    m_dataset->post();
}

void PictureLink::showPicture()
{
    auto *view = static_cast<PictureView *>(m_picture);
    const QString name = m_dataset->value(m_field).toString().trimmed();
    const QString extension = QLatin1Char('.') + QFileInfo(name).suffix().toUpper();
    const QString path = folder() + name;
    const QPixmap picture = !name.isEmpty() && m_policy.extensions.contains(extension) && QFileInfo(path).isFile() ? QPixmap(path)
                                                                                                                 : QPixmap();
    view->setPicture(picture);
    view->setToolTip(picture.isNull() ? QString() : name);
}
