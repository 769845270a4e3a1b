#pragma once

#include <QWidget>

#include <functional>

class Dataset;
class QFileInfo;
class QLabel;

// A row's picture: the row keeps only the file's name, the file lives in a folder below
// the picture folder. "Odpri" chooses a file and copies it there, "Briši" forgets it
// (the file stays), and the picture of the current row is shown when it can be.
class PictureLink : public QWidget
{
    Q_OBJECT
public:
    struct Policy
    {
        QString subfolder;     // below the picture folder; empty for the picture folder itself
        QString dialogTitle;
        QStringList filters;
        int initialFilter;
        QStringList extensions; // shown pictures, upper case with the dot
        // The name the picture is kept under; the chosen file's own name when not given.
        std::function<QString(const QFileInfo &chosen)> storedName;
        bool copyFromFolderToo; // copy even when chosen from the pictures folder itself
    };

    PictureLink(Dataset *dataset, const QString &field, const Policy &policy, QWidget *parent = nullptr);

    // The pictures of code-list rows (categories, contact types): jpeg, bitmap and icon
    // files, kept under their own names in the list's folder.
    static Policy rowPictures(const QString &subfolder, const QString &dialogTitle);

    QString folder() const;
    void load();   // "Odpri"
    void remove(); // "Briši"
    void showPicture();

    QLabel *picture() const { return m_picture; }

private:
    Dataset *m_dataset;
    QString m_field;
    Policy m_policy;
    QLabel *m_picture;
};
