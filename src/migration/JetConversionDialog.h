#pragma once

#include "DatabaseImport.h"

#include <QDialog>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

// The conversion of the Windows program's database at start, in one window: what the
// file is and the question, then the progress, then what came over. The conversion runs
// when the user says "Da"; "Prekliči" stops it, and it then leaves nothing behind.
class JetConversionDialog : public QDialog
{
    Q_OBJECT
public:
    using Conversion = std::function<QString(const DatabaseImport::Progress &progress)>;
    enum class Outcome { Declined, Converted, Cancelled, Failed };

    // conversion converts and returns the summary to show; it throws DatabaseError.
    JetConversionDialog(const QString &question, Conversion conversion, QWidget *parent = nullptr);

    Outcome outcome() const { return m_outcome; }
    // Why the conversion failed.
    QString failure() const { return m_failure; }

public Q_SLOTS:
    void reject() override;

private:
    void convert();
    void showProgress(qint64 done, qint64 total);
    void showEnd(const QString &text);

    Conversion m_conversion;
    QLabel *m_text = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_no = nullptr;
    QPushButton *m_yes = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_ok = nullptr;
    Outcome m_outcome = Outcome::Declined;
    QString m_failure;
    bool m_converting = false;
    bool m_cancelRequested = false;
};
