#include "PreviewSheet.h"

#include "PennywitPainter.h"
#include "PennywitPalette.h"
#include "StrokeFont.h"

#include <QDir>
#include <QPainter>

using namespace Qt::StringLiterals;
using namespace Pennywit;

namespace PreviewSheet {

namespace {

constexpr int Columns = 8;
constexpr int Gap = 6;
constexpr int LabelHeight = 12;
constexpr QRgb Light = 0xffeeeeea;
constexpr QRgb Dark = 0xff1f2430;

// Composes one frame as the engine shows it: its images drawn from last to first, then the
// overlay (if any) on top.
QImage Compose(const CharacterDraft& draft, const DraftFrame& frame, int overlayImage = -1)
{
    QImage result(FrameSize, FrameSize, QImage::Format_ARGB32);
    result.fill(Qt::transparent);
    QList<int> order(frame.images.crbegin(), frame.images.crend());
    if (overlayImage >= 0)
        order.append(overlayImage);
    for (int index : order) {
        const QImage& image = draft.Images().at(index);
        for (int y = 0; y < FrameSize; ++y) {
            const uchar* in = image.constScanLine(y);
            auto* out = reinterpret_cast<QRgb*>(result.scanLine(y));
            for (int x = 0; x < FrameSize; ++x) {
                if (in[x] != PennywitPalette::TransparentIndex)
                    out[x] = PennywitPalette::Colours().at(in[x]);
            }
        }
    }
    return result;
}

void Label(QPainter& g, const QString& text, QPointF at, QRgb colour)
{
    g.setBrush(Qt::NoBrush);
    g.setPen(QPen(C(colour), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    g.drawPath(StrokeFont::TextPath(text, at, 7));
}

QImage Sheet(const QList<QImage>& cells, const QStringList& labels)
{
    const int count = static_cast<int>(cells.size());
    const int columns = std::max(1, std::min(Columns, count));
    const int rows = (count + columns - 1) / columns;
    const int cellWidth = FrameSize + Gap;
    const int cellHeight = 2 * FrameSize + LabelHeight + Gap;
    QImage sheet(columns * cellWidth + Gap, rows * cellHeight + Gap, QImage::Format_ARGB32);
    sheet.fill(0xff9a9a9a);
    QPainter g(&sheet);
    g.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < count; ++i) {
        const int x = Gap + (i % columns) * cellWidth;
        const int y = Gap + (i / columns) * cellHeight;
        g.fillRect(x, y, FrameSize, FrameSize, C(Light));
        g.fillRect(x, y + FrameSize, FrameSize, FrameSize, C(Dark));
        g.drawImage(x, y, cells[i]);
        g.drawImage(x, y + FrameSize, cells[i]);
        Label(g, labels[i], QPointF(x + 2, y + 2 * FrameSize + 3), 0xff000000);
    }
    return sheet;
}

} // namespace

QImage SheetOf(const CharacterDraft& draft, const DraftAnimation& animation)
{
    QList<QImage> cells;
    QStringList labels;
    for (int i = 0; i < animation.frames.size(); ++i) {
        const DraftFrame& frame = animation.frames[i];
        cells.append(Compose(draft, frame));
        labels.append(u"%1  %2"_s.arg(i).arg(frame.duration));
    }
    return Sheet(cells, labels);
}

bool WriteSheets(const CharacterDraft& draft, const QString& dir, int scale, QString* error)
{
    if (!QDir().mkpath(dir)) {
        *error = u"cannot create the folder %1"_s.arg(dir);
        return false;
    }
    const auto save = [&](const QImage& sheet, const QString& name) {
        const QString path = QDir(dir).filePath(name + u".png"_s);
        const QImage scaled = scale > 1 ? sheet.scaled(sheet.size() * scale) : sheet;
        if (!scaled.save(path, "PNG")) {
            *error = u"cannot write %1"_s.arg(path);
            return false;
        }
        return true;
    };
    for (const DraftAnimation& animation : draft.Animations()) {
        if (!save(SheetOf(draft, animation), animation.name))
            return false;
    }
    // Every distinct frame that speaks, with each of its five mouths.
    QList<QImage> cells;
    QStringList labels;
    QList<int> seen;
    for (const DraftAnimation& animation : draft.Animations()) {
        for (const DraftFrame& frame : animation.frames) {
            if (frame.overlays.isEmpty() || frame.images.isEmpty() || seen.contains(frame.images.first()))
                continue;
            seen.append(frame.images.first());
            for (const DraftOverlay& overlay : frame.overlays) {
                cells.append(Compose(draft, frame, overlay.image));
                labels.append(QString::number(static_cast<int>(overlay.shape)));
            }
        }
    }
    if (!cells.isEmpty() && !save(Sheet(cells, labels), u"mouths"_s))
        return false;
    return true;
}

} // namespace PreviewSheet
