// The field titles window: names the fourteen text fields of a database card.
#pragma once

#include "kit/LargeWindow.h"

#include <array>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

class TfrmImpostaCampi : public LargeWindow {
    Q_OBJECT
  public:
    static constexpr int kFields = 14;

    explicit TfrmImpostaCampi(QWidget *parent = nullptr);

    QLabel *titNomeArchivio;
    // Index 0 is field 1 (txtCampo01, titCampo01, effCampo01).
    std::array<QLineEdit *, kFields> txtCampo{};
    std::array<QLabel *, kFields> titCampo{};
    std::array<QFrame *, kFields> effCampo{};
    QLabel *imgFoto;
    QPushButton *btnSfoglia;
    QLabel *panInfo;
    QPushButton *btnAnnulla;
    QPushButton *btnApplica;

    void FormShow() override;
    void btnApplicaClick();
    void btnAnnullaClick();

};
