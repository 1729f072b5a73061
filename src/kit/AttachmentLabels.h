// The hidden labels in which a workspace keeps the attachments of the card
// shown: lblFile01 … lblFile03 hold the file names, lblDesc01 … lblDesc03
// their descriptions. They are never visible; they are filled when a card is
// shown, emptied for a new card, edited through the attachments window and
// stored with the card.
#pragma once

#include "storage/Attachments.h"

#include <array>

class QLabel;
class QWidget;

using AttachmentSlots = std::array<QLabel *, Attachments::kSlots>;

// Creates the six hidden labels on `parent`.
void createAttachmentLabels(QWidget *parent, AttachmentSlots &lblFile, AttachmentSlots &lblDesc);
// The attachments the labels hold, as they hold them.
Attachments attachmentsIn(const AttachmentSlots &lblFile, const AttachmentSlots &lblDesc);
void putAttachments(const Attachments &attachments, const AttachmentSlots &lblFile,
                    const AttachmentSlots &lblDesc);
