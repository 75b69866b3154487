#include "base/WindowPlacementStore.h"

#include "base/SettingsStore.h"

#include <algorithm>
#include <array>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

// The ten profile values in the order in which they are written and read.
struct PlacementValue
{
    const char16_t* name;
    int WindowPlacement::*field;
};

const std::array<PlacementValue, 10>& PlacementValues()
{
    static const std::array<PlacementValue, 10> values{{
        {u"wp.showCmd", &WindowPlacement::showCmd},
        {u"wp.flags", &WindowPlacement::flags},
        {u"wp.ptMinPosition.x", &WindowPlacement::minX},
        {u"wp.ptMinPosition.y", &WindowPlacement::minY},
        {u"wp.ptMaxPosition.x", &WindowPlacement::maxX},
        {u"wp.ptMaxPosition.y", &WindowPlacement::maxY},
        {u"wp.left", &WindowPlacement::left},
        {u"wp.right", &WindowPlacement::right},
        {u"wp.top", &WindowPlacement::top},
        {u"wp.bottom", &WindowPlacement::bottom},
    }};
    return values;
}

} // namespace

QRect WindowPlacement::NormalRect() const
{
    const auto extent = [](int from, int to) {
        return static_cast<int>(std::clamp<qint64>(qint64(to) - from, 0, std::numeric_limits<int>::max()));
    };
    return QRect(left, top, extent(left, right), extent(top, bottom));
}

void WindowPlacement::SetNormalRect(const QRect& rect)
{
    left = rect.x();
    top = rect.y();
    right = rect.x() + rect.width();
    bottom = rect.y() + rect.height();
}

namespace WindowPlacementStore {

void Save(const QString& section, const WindowPlacement& placement)
{
    for (const PlacementValue& value : PlacementValues())
        WriteProfileNumber(section, QString::fromUtf16(value.name), placement.*value.field);
}

WindowPlacement Load(const QString& section)
{
    WindowPlacement placement;
    for (const PlacementValue& value : PlacementValues())
        placement.*value.field = ReadProfileNumber(section, QString::fromUtf16(value.name), 0);
    return placement;
}

bool HasSaved(const QString& section)
{
    for (const PlacementValue& value : PlacementValues()) {
        if (HasProfileValue(section, QString::fromUtf16(value.name)))
            return true;
    }
    return false;
}

bool IntersectsScreens(const WindowPlacement& placement, const QList<QRect>& screens)
{
    // Computed in 64 bits: a hand-edited profile may hold values whose difference overflows an int.
    const qint64 left = placement.left;
    const qint64 top = placement.top;
    const qint64 right = placement.right;
    const qint64 bottom = placement.bottom;
    if (right <= left || bottom <= top)
        return false;
    for (const QRect& screen : screens) {
        const qint64 screenLeft = screen.x();
        const qint64 screenTop = screen.y();
        const qint64 screenRight = screenLeft + screen.width();
        const qint64 screenBottom = screenTop + screen.height();
        if (std::max(left, screenLeft) < std::min(right, screenRight) &&
            std::max(top, screenTop) < std::min(bottom, screenBottom))
            return true;
    }
    return false;
}

std::optional<WindowPlacement> Restore(const QString& section, const QList<QRect>& screens, int showOverride)
{
    WindowPlacement placement = Load(section);
    if (showOverride != ShowCommand::NoOverride)
        placement.showCmd = showOverride;
    if (!IntersectsScreens(placement, screens))
        return std::nullopt;
    return placement;
}

} // namespace WindowPlacementStore
