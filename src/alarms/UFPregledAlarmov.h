#pragma once

#include "SoleInstance.h"

#include <QDateTime>
#include <QDialog>
#include <QSet>

class Dataset;
class DatasetModel;
class FlatButton;
class QTableView;

// "Pregled alarmov": the persons' alarms due since the alarms were last checked. Made
// once at start, it checks at once: it finds the due alarms by the user's stamp in TUsers
// (LastAlarmEventsChecked), then moves the stamp on to the check's moment. The caller
// shows it (exec()) when hasDueAlarms(). Database errors go on to the caller.
class TFPregledAlarmov : public QDialog
{
    Q_OBJECT
public:
    explicit TFPregledAlarmov(QWidget *parent = nullptr);

    bool hasDueAlarms() const { return m_hasDueAlarms; }
    // The moment of the check, which every alarm's date was worked out at.
    const QDateTime &checkedAt() const { return m_now; }

    Dataset *ADOQuery1;
    QTableView *DBGrid1;
    FlatButton *BitBtn1;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    bool FormCreate();
    void FormShow();
    void FormHide();
    // The user's stamp; none when it was never set or the user's row is missing.
    QDateTime storedStamp();
    // Sets the stamp to the check's moment.
    void writeStamp();

    QDateTime m_now;
    QSet<qint64> m_due; // the alarm rows (TOsnovniPodVezaAlarmi.ID) the check found due
    bool m_hasDueAlarms = false;
    DatasetModel *m_model;
    SoleInstance<TFPregledAlarmov> m_instance;
};

extern TFPregledAlarmov *FPregledAlarmov;
