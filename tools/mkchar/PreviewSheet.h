#pragma once

#include "CharacterDraft.h"

#include <QImage>
#include <QString>

// Contact sheets for looking at the character: one PNG per animation, every frame at its real size
// on a light and on a dark background, with its index and duration in hundredths underneath.
namespace PreviewSheet {

// The sheet of one animation: its frames in order, composed as the engine shows them.
QImage SheetOf(const Pennywit::CharacterDraft& draft, const Pennywit::DraftAnimation& animation);

// Writes DIR/<animation>.png for every animation, and DIR/mouths.png (every distinct speaking
// frame with each of its mouth overlays). Returns false and fills `error` when a file cannot be written.
// `scale` enlarges the sheets (pixels stay square) for close inspection.
bool WriteSheets(const Pennywit::CharacterDraft& draft, const QString& dir, int scale, QString* error);

} // namespace PreviewSheet
