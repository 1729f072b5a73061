// The start-screen settings: the archive's name, subtitle and picture.
#pragma once

#include "kit/LargeWindow.h"

#include <QImage>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

class TfrmImpostaAvvio : public LargeWindow {
    Q_OBJECT
  public:
    explicit TfrmImpostaAvvio(QWidget *parent = nullptr);

    QLineEdit *txtNomeArchivio;
    QLabel *imgLogo;
    QToolButton *btnCancLogo;
    QToolButton *btnRipristina;
    QLineEdit *txtSottotitolo;
    QPushButton *btnSfoglia;
    QPushButton *btnAnnulla;
    QPushButton *btnApplica;
    QLabel *panInfo;

    // The picture being edited, at its own size (what Logo.bmp will hold).
    const QImage &picture() const { return m_picture; }

    void FormShow() override;
    void btnSfogliaClick();
    void btnCancLogoClick();
    void btnRipristinaClick();
    void btnApplicaClick();
    void btnAnnullaClick();

  private:
    void setPicture(const QImage &picture);
    QImage m_picture;
};
