// The shape shared by the card print and preview windows: a choice between
// the card with its photo and the card without it, an action button and
// "Annulla". The action fills the chosen template from the card handed in,
// prepares it and prints or previews it; the window then closes, whether the
// user went through with it or cancelled.
#pragma once

#include "output/CardSheet.h"
#include "report/Report.h"

#include <QDialog>
#include <QSize>

class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;

// A hidden picture the window keeps, at its own pixel size.
class HeldPicture : public QWidget {
    Q_OBJECT
  public:
    HeldPicture(const QString &objectName, QWidget *parent);
    void setPicture(const QImage &picture) { m_picture = picture; }
    const QImage &picture() const { return m_picture; }

  private:
    QImage m_picture;
};

class CardPrintWindow : public QDialog {
    Q_OBJECT
  public:
    QLabel *imgDecoro;
    QFrame *panScelta;
    QRadioButton *optUno;
    QRadioButton *optDue;
    QPushButton *btnStampa;
    QPushButton *btnAnnulla;
    QLabel *lblMemory;      // hidden: shows the chosen mode, "con" or "senza" (photo)
    HeldPicture *imgLogo;   // hidden: the card's photo
    HeldPicture *imgBianco; // hidden: a blank picture

    // The templates, this window's own copies.
    report::Template repFoto;
    report::Template repScheda;

    void optUnoClick();
    void optDueClick();
    void btnStampaClick();
    void btnAnnullaClick();

  protected:
    enum class Output { Print, Preview };
    struct Shape {
        QString objectName;
        QString caption;
        QSize clientSize;
        QString withPhoto;    // text of optUno
        QString withoutPhoto; // text of optDue
        QString action;       // text of btnStampa
        QString icon;         // of the decorative picture and the action button
        Output output;
    };
    CardPrintWindow(const Shape &shape, const CardSheet &sheet, QWidget *owner);

    // Centres the window on its owner and runs it modally; returns when it
    // has closed.
    void run();

  private:
    // Puts the card into `card`; `pairs` is the number of title/value pairs
    // the template holds (22 with the photo, 24 without).
    void fill(report::Template &card, int pairs) const;

    CardSheet m_sheet;
    Output m_output;
    // The chosen mode: the card with its photo, or without.
    bool m_withPhoto = true;
};
