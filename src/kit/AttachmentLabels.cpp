#include "AttachmentLabels.h"

#include "WindowKit.h"

#include <QLabel>

void createAttachmentLabels(QWidget *parent, AttachmentSlots &lblFile, AttachmentSlots &lblDesc) {
    for (int i = 0; i < Attachments::kSlots; ++i) {
        const QString slot = QStringLiteral("%1").arg(i + 1, 2, 10, QChar(u'0'));
        lblFile[i] = hiddenLabel(QStringLiteral("lblFile") + slot, parent);
        lblDesc[i] = hiddenLabel(QStringLiteral("lblDesc") + slot, parent);
    }
}

Attachments attachmentsIn(const AttachmentSlots &lblFile, const AttachmentSlots &lblDesc) {
    Attachments attachments;
    for (int i = 0; i < Attachments::kSlots; ++i) {
        attachments.files[i] = lblFile[i]->text();
        attachments.descriptions[i] = lblDesc[i]->text();
    }
    return attachments;
}

void putAttachments(const Attachments &attachments, const AttachmentSlots &lblFile,
                    const AttachmentSlots &lblDesc) {
    for (int i = 0; i < Attachments::kSlots; ++i) {
        lblFile[i]->setText(attachments.files[i]);
        lblDesc[i]->setText(attachments.descriptions[i]);
    }
}
