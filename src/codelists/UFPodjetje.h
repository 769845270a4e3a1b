#pragma once

#include <QWidget>

class Dataset;
class DatasetBinder;
class PictureLink;
class QMdiSubWindow;

// "Uporabnik": the user's own company, the row of TMaticniPodaci named by the INI's
// "MaticniPodatki", with the picture printed as the header of documents.
class TFPodjetje : public QWidget
{
    Q_OBJECT
public:
    explicit TFPodjetje(QWidget *parent = nullptr);

    PictureLink *header() const { return m_header; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void FormActivate();
    void FormDeactivate();

    Dataset *m_company;
    DatasetBinder *m_binder;
    PictureLink *m_header;
    QMdiSubWindow *m_frame = nullptr;
};
