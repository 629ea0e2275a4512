#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

class Recordset;

// The first window: a borderless picture for three and a half seconds, then the company picker.
class frmSplash : public QWidget
{
    Q_OBJECT

public:
    explicit frmSplash(QWidget *parent = nullptr);

    // Loads the picture in the named field of the recordset's current row; false when it fails.
    bool LoadPictureFromDB(Recordset &adoRS, const QString &sFieldName);
    void TestLoadPicture();

    const QPixmap &picture() const { return picture_; }

    // Tests shorten the hand-over; 0 restores the 3500 ms.
    static void setHandOverInterval(int milliseconds);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void Timer1_Timer();

    QPixmap picture_;
    QTimer *Timer1;
};
