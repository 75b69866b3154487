#include "ui/LayoutManager.h"

#include "base/AppPaths.h"
#include "base/UserMessage.h"

#include <QFontMetrics>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <limits>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int kMetricCount = 6;

struct LayoutEntry
{
    int id = -1;
    QWidget* widget = nullptr;
    int metric[kMetricCount] = {};
    bool known[kMetricCount] = {};
    bool untouched = true;
};

bool IsSide(int metric)
{
    return metric >= LayoutLeft && metric <= LayoutBottom;
}

bool IsMetric(int metric)
{
    return metric >= LayoutLeft && metric <= LayoutHeight;
}

bool IsHorizontal(int metric)
{
    return metric == LayoutLeft || metric == LayoutRight || metric == LayoutWidth;
}

int OppositeSide(int side)
{
    return (side + 2) % 4;
}

int DimensionOf(int side)
{
    return IsHorizontal(side) ? LayoutWidth : LayoutHeight;
}

int Clamp(qint64 value)
{
    return static_cast<int>(
        std::clamp<qint64>(value, std::numeric_limits<int>::min() / 2, std::numeric_limits<int>::max() / 2));
}

// Fills in what the known metrics imply, in the order left, top, right, bottom, width, height.
void Propagate(LayoutEntry& e)
{
    auto& m = e.metric;
    auto& k = e.known;
    if (!k[LayoutLeft] && k[LayoutRight] && k[LayoutWidth]) {
        m[LayoutLeft] = Clamp(qint64(m[LayoutRight]) - m[LayoutWidth]);
        k[LayoutLeft] = true;
    }
    if (!k[LayoutTop] && k[LayoutBottom] && k[LayoutHeight]) {
        m[LayoutTop] = Clamp(qint64(m[LayoutBottom]) - m[LayoutHeight]);
        k[LayoutTop] = true;
    }
    if (!k[LayoutRight] && k[LayoutLeft] && k[LayoutWidth]) {
        m[LayoutRight] = Clamp(qint64(m[LayoutLeft]) + m[LayoutWidth]);
        k[LayoutRight] = true;
    }
    if (!k[LayoutBottom] && k[LayoutTop] && k[LayoutHeight]) {
        m[LayoutBottom] = Clamp(qint64(m[LayoutTop]) + m[LayoutHeight]);
        k[LayoutBottom] = true;
    }
    if (!k[LayoutWidth] && k[LayoutLeft] && k[LayoutRight]) {
        m[LayoutWidth] = Clamp(qint64(m[LayoutRight]) - m[LayoutLeft]);
        k[LayoutWidth] = true;
    }
    if (!k[LayoutHeight] && k[LayoutTop] && k[LayoutBottom]) {
        m[LayoutHeight] = Clamp(qint64(m[LayoutBottom]) - m[LayoutTop]);
        k[LayoutHeight] = true;
    }
}

LayoutEntry MakeEntry(int id, QWidget* widget, const QRect& rect)
{
    LayoutEntry e;
    e.id = id;
    e.widget = widget;
    e.metric[LayoutLeft] = rect.x();
    e.metric[LayoutTop] = rect.y();
    e.metric[LayoutRight] = rect.x() + rect.width();
    e.metric[LayoutBottom] = rect.y() + rect.height();
    for (int side = LayoutLeft; side <= LayoutBottom; ++side)
        e.known[side] = true;
    Propagate(e);
    return e;
}

void Assertion(const QString& text)
{
    ShowUserMessage(text, u"Assertion Failed"_s, MessageIcon::Error);
}

using Entries = std::vector<LayoutEntry>;

// The first entry with the id; entry 0 is the page.
LayoutEntry* Find(Entries& entries, int id, bool childrenOnly)
{
    for (size_t i = childrenOnly ? 1 : 0; i < entries.size(); ++i) {
        if (entries[i].id == id)
            return &entries[i];
    }
    return nullptr;
}

bool InGroup(const LayoutEntry& e, const LayoutRule& rule)
{
    return e.id >= rule.id && e.id <= rule.lastId;
}

// The value of a source metric, scaled by the percentage for a dimension; nothing while unknown.
std::optional<qint64> SourceValue(Entries& entries, const LayoutRule& rule)
{
    LayoutEntry* source = Find(entries, rule.sourceId, false);
    if (!source || !source->known[rule.sourceMetric])
        return std::nullopt;
    qint64 value = source->metric[rule.sourceMetric];
    if (rule.sourceMetric == LayoutWidth || rule.sourceMetric == LayoutHeight)
        value = value * rule.percent / 100;
    return value;
}

// Marks what a stretch or move rule changes as unknown: a move keeps the size (the side and its
// opposite move), a stretch keeps the opposite side (the side and the size change).
void ForgetTarget(LayoutEntry& target, const LayoutRule& rule)
{
    if (rule.action == LayoutMove) {
        target.known[rule.metric] = false;
        target.known[OppositeSide(rule.metric)] = false;
    } else if (IsSide(rule.metric)) {
        target.known[rule.metric] = false;
        target.known[DimensionOf(rule.metric)] = false;
    } else {
        // A stretched dimension keeps the left (top) side and moves the other.
        target.known[rule.metric] = false;
        target.known[rule.metric == LayoutWidth ? LayoutRight : LayoutBottom] = false;
    }
}

// Applies a stretch or move rule when its source is known.
bool ApplySimple(Entries& entries, LayoutRule& rule)
{
    const std::optional<qint64> value = SourceValue(entries, rule);
    if (!value)
        return false;
    LayoutEntry* target = Find(entries, rule.id, true);
    target->metric[rule.metric] = Clamp(*value + rule.offsetPixels);
    target->known[rule.metric] = true;
    Propagate(*target);
    rule.done = 1;
    return true;
}

enum class CentreResult
{
    Applied,
    Waiting,
    Failed,
};

// Centres a group along one axis in the source's extent: the group keeps its inner arrangement
// (solved from the rules that target its members along that axis) and moves as a whole.
CentreResult ApplyCentring(Entries& entries, const Entries& initial, std::vector<LayoutRule>& rules,
                           LayoutRule& centring)
{
    const bool horizontal = centring.action == LayoutCenterHorizontal;
    const int lowSide = horizontal ? LayoutLeft : LayoutTop;
    const int highSide = horizontal ? LayoutRight : LayoutBottom;
    const int dimension = horizontal ? LayoutWidth : LayoutHeight;

    LayoutEntry* source = Find(entries, centring.sourceId, false);
    if (!source->known[lowSide] || !source->known[highSide])
        return CentreResult::Waiting;
    for (size_t i = 1; i < entries.size(); ++i) {
        if (InGroup(entries[i], centring) && !entries[i].known[dimension])
            return CentreResult::Waiting;
    }

    // Arrange the group on a copy, from the members' own places and the rules among them.
    Entries copy = entries;
    for (size_t i = 1; i < copy.size(); ++i) {
        if (!InGroup(copy[i], centring))
            continue;
        // A member a rule has already placed keeps that place; the others start from their own.
        if (copy[i].known[lowSide] && copy[i].known[highSide])
            continue;
        copy[i].metric[lowSide] = initial[i].metric[lowSide];
        copy[i].known[lowSide] = true;
        copy[i].known[highSide] = false;
        Propagate(copy[i]);
    }
    std::vector<LayoutRule*> memberRules;
    for (LayoutRule& rule : rules) {
        if (rule.done || (rule.action != LayoutStretch && rule.action != LayoutMove) ||
            IsHorizontal(rule.metric) != horizontal)
            continue;
        const LayoutEntry* target = Find(copy, rule.id, true);
        if (target && InGroup(*target, centring))
            memberRules.push_back(&rule);
    }
    std::vector<LayoutRule> working;
    for (const LayoutRule* rule : memberRules) {
        working.push_back(*rule);
        ForgetTarget(*Find(copy, rule->id, true), *rule);
    }
    for (bool progress = true; progress;) {
        progress = false;
        for (LayoutRule& rule : working) {
            if (!rule.done && ApplySimple(copy, rule))
                progress = true;
        }
    }
    if (std::any_of(working.cbegin(), working.cend(), [](const LayoutRule& r) { return !r.done; })) {
        Assertion(u"Unable to apply rules to centered children"_s);
        return CentreResult::Failed;
    }

    qint64 low = std::numeric_limits<qint64>::max();
    qint64 high = std::numeric_limits<qint64>::min();
    for (size_t i = 1; i < copy.size(); ++i) {
        if (!InGroup(copy[i], centring))
            continue;
        low = std::min<qint64>(low, copy[i].metric[lowSide]);
        high = std::max<qint64>(high, copy[i].metric[highSide]);
    }
    const qint64 shift =
        (qint64(source->metric[lowSide]) + source->metric[highSide]) / 2 - (low + high) / 2 + centring.offsetPixels;
    for (size_t i = 1; i < entries.size(); ++i) {
        if (!InGroup(entries[i], centring))
            continue;
        entries[i].metric[lowSide] = Clamp(copy[i].metric[lowSide] + shift);
        entries[i].metric[highSide] = Clamp(copy[i].metric[highSide] + shift);
        entries[i].known[lowSide] = entries[i].known[highSide] = true;
        Propagate(entries[i]);
    }
    for (LayoutRule* rule : memberRules)
        rule->done = 1;
    centring.done = 1;
    return CentreResult::Applied;
}

// Checks a rule and marks what it will change as unknown; false (after telling) for a faulty rule.
bool MarkUnknowns(Entries& entries, const LayoutRule& rule)
{
    switch (rule.action) {
    case LayoutStretch:
    case LayoutMove: {
        if (rule.action == LayoutMove && !IsSide(rule.metric)) {
            Assertion(u"Invalid side"_s);
            return false;
        }
        if (!IsMetric(rule.metric) || !IsMetric(rule.sourceMetric)) {
            Assertion(u"Invalid metric"_s);
            return false;
        }
        LayoutEntry* target = Find(entries, rule.id, true);
        if (!target || !Find(entries, rule.sourceId, false)) {
            Assertion(u"Child not found in child list"_s);
            return false;
        }
        target->untouched = false;
        ForgetTarget(*target, rule);
        return true;
    }
    case LayoutCenterVertical:
    case LayoutCenterHorizontal: {
        if (rule.sourceMetric != LayoutExtent) {
            Assertion(u"Invalid metric"_s);
            return false;
        }
        bool any = false;
        for (size_t i = 1; i < entries.size(); ++i) {
            if (!InGroup(entries[i], rule))
                continue;
            any = true;
            entries[i].untouched = false;
            const bool horizontal = rule.action == LayoutCenterHorizontal;
            entries[i].known[horizontal ? LayoutLeft : LayoutTop] = false;
            entries[i].known[horizontal ? LayoutRight : LayoutBottom] = false;
        }
        if (!any || !Find(entries, rule.sourceId, false)) {
            Assertion(u"Child not found in child list"_s);
            return false;
        }
        return true;
    }
    default:
        Assertion(u"Invalid action"_s);
        return false;
    }
}

QString MetricName(int metric)
{
    static const char16_t* const names[kMetricCount] = {u"left", u"top", u"right", u"bottom", u"width", u"height"};
    return QString::fromUtf16(names[metric]);
}

} // namespace

void SetControlId(QWidget* control, int id)
{
    control->setProperty(kControlIdProperty, id);
}

int ControlId(const QWidget* control)
{
    bool ok = false;
    const int id = control->property(kControlIdProperty).toInt(&ok);
    return ok ? id : -1;
}

QSize DialogBaseUnits(const QWidget& page)
{
    const QFontMetrics metrics = page.fontMetrics();
    const int letters = metrics.horizontalAdvance(u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"_s);
    return QSize((letters / 26 + 1) / 2, metrics.height());
}

QRect MapDialogRect(const QWidget& page, const QRect& dialogUnits)
{
    const QSize base = DialogBaseUnits(page);
    const int left = dialogUnits.x() * base.width() / 4;
    const int top = dialogUnits.y() * base.height() / 8;
    const int right = (dialogUnits.x() + dialogUnits.width()) * base.width() / 4;
    const int bottom = (dialogUnits.y() + dialogUnits.height()) * base.height() / 8;
    return QRect(left, top, right - left, bottom - top);
}

bool ApplyLayoutRules(QWidget* page, std::span<const LayoutRule> table)
{
    if (!page)
        return false;
    if (page->isMinimized() || (page->window() && page->window()->isMinimized()))
        return true;
    if (page->width() <= 0 || page->height() <= 0)
        return true;

    // 1. The entries: the page, then its child controls in order.
    Entries entries;
    entries.push_back(MakeEntry(LayoutPageId, page, page->rect()));
    for (QObject* child : page->children()) {
        auto* control = qobject_cast<QWidget*>(child);
        if (control && !control->isWindow())
            entries.push_back(MakeEntry(ControlId(control), control, control->geometry()));
    }
    if (entries.size() == 1)
        return false;
    const Entries initial = entries;

    std::vector<LayoutRule> rules;
    for (const LayoutRule& row : table) {
        if (row.action == LayoutEnd)
            break;
        LayoutRule rule = row;
        rule.done = 0;
        rule.offsetPixels = 0;
        rules.push_back(rule);
    }

    // 2. What the rules will change becomes unknown.
    for (const LayoutRule& rule : rules) {
        if (!MarkUnknowns(entries, rule))
            return false;
    }
    for (LayoutEntry& entry : entries)
        Propagate(entry);

    // 3. Offsets in pixels.
    const QSize base = DialogBaseUnits(*page);
    for (LayoutRule& rule : rules) {
        const bool horizontal =
            rule.action == LayoutCenterHorizontal || (rule.action != LayoutCenterVertical && IsHorizontal(rule.metric));
        rule.offsetPixels =
            horizontal ? Clamp(qint64(rule.offset) * base.width() / 4) : Clamp(qint64(rule.offset) * base.height() / 8);
    }

    // 4. Solve in passes until a pass applies nothing.
    for (bool progress = true; progress;) {
        progress = false;
        for (LayoutRule& rule : rules) {
            if (rule.done)
                continue;
            if (rule.action == LayoutStretch || rule.action == LayoutMove) {
                if (ApplySimple(entries, rule))
                    progress = true;
                continue;
            }
            switch (ApplyCentring(entries, initial, rules, rule)) {
            case CentreResult::Applied:
                progress = true;
                break;
            case CentreResult::Waiting:
                break;
            case CentreResult::Failed:
                return false;
            }
        }
    }

    // 5. Every rule must have been applied.
    if (std::any_of(rules.cbegin(), rules.cend(), [](const LayoutRule& rule) { return !rule.done; })) {
        Assertion(u"Unable to apply rules"_s);
        return false;
    }

    // 6. Place the controls, all together.
    bool complete = true;
    std::vector<std::pair<QWidget*, QRect>> moves;
    for (size_t i = 1; i < entries.size(); ++i) {
        const LayoutEntry& e = entries[i];
        bool placed = true;
        for (int metric = 0; metric < kMetricCount; ++metric) {
            if (e.known[metric])
                continue;
            ShowUserMessage(u"Layout couldn't find %1 of id=%2"_s.arg(MetricName(metric)).arg(e.id),
                            AppPaths::ProgramFile(), MessageIcon::Error);
            placed = complete = false;
        }
        if (!e.untouched && placed) {
            moves.emplace_back(e.widget,
                               QRect(e.metric[LayoutLeft], e.metric[LayoutTop], std::max(0, e.metric[LayoutWidth]),
                                     std::max(0, e.metric[LayoutHeight])));
        }
    }
    page->setUpdatesEnabled(false);
    for (const auto& [widget, rect] : moves) {
        widget->setGeometry(rect);
        widget->update();
    }
    page->setUpdatesEnabled(true);
    return complete;
}
