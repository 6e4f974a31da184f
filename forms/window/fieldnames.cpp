#include "fieldnames.h"

#include "geometry.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include <algorithm>
#include <limits>
#include <numeric>
#include <utility>
#include <vector>

namespace forms {

namespace {

bool isField(const QWidget *widget)
{
    return qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QComboBox *>(widget);
}

// The best of the intervals inserted so far that overlap a queried interval, over a fixed set of
// ends: a segment tree whose nodes keep the best interval that covers them whole (cover) and the
// best that touches any leaf below them (touch). Each insertion and query visits O(log n) nodes.
// An interval's key is its far edge (nearer is larger) and its control's index, negated.
class BestOverlapping
{
public:
    using Key = std::pair<float, int>;

    BestOverlapping(std::vector<float> ends, Key none) : m_ends(std::move(ends)), m_none(none)
    {
        std::sort(m_ends.begin(), m_ends.end());
        m_ends.erase(std::unique(m_ends.begin(), m_ends.end()), m_ends.end());
        m_leaves = std::max<int>(1, int(m_ends.size()) - 1);
        m_cover.assign(4 * m_leaves, none);
        m_touch.assign(4 * m_leaves, none);
    }

    // Intervals are [start, start + length) with a length above 0, their ends among the set.
    void insert(float start, float length, Key key)
    {
        insert(1, 0, m_leaves - 1, leaf(start), leaf(start + length) - 1, key);
    }

    Key best(float start, float length) const
    {
        return best(1, 0, m_leaves - 1, leaf(start), leaf(start + length) - 1);
    }

private:
    int leaf(float end) const
    {
        return int(std::lower_bound(m_ends.begin(), m_ends.end(), end) - m_ends.begin());
    }

    void insert(int node, int low, int high, int first, int last, Key key)
    {
        if (last < low || high < first)
            return;
        m_touch[node] = std::max(m_touch[node], key);
        if (first <= low && high <= last) {
            m_cover[node] = std::max(m_cover[node], key);
            return;
        }
        const int middle = (low + high) / 2;
        insert(2 * node, low, middle, first, last, key);
        insert(2 * node + 1, middle + 1, high, first, last, key);
    }

    Key best(int node, int low, int high, int first, int last) const
    {
        if (last < low || high < first)
            return m_none;
        if (first <= low && high <= last)
            return m_touch[node];
        const int middle = (low + high) / 2;
        return std::max({m_cover[node], best(2 * node, low, middle, first, last),
                         best(2 * node + 1, middle + 1, high, first, last)});
    }

    std::vector<float> m_ends;
    Key m_none;
    int m_leaves = 1;
    std::vector<Key> m_cover;
    std::vector<Key> m_touch;
};

struct Placed
{
    TwipsRect rect;
    int index = 0;
};

// Where a rectangle lies along the axis a label stands off from its field (across), and along
// the axis they share a line on (along): to the left, across is horizontal; above, vertical.
struct Axis
{
    float across(const TwipsRect &r) const { return horizontal ? r.left : r.top; }
    float acrossLength(const TwipsRect &r) const { return horizontal ? r.width : r.height; }
    float along(const TwipsRect &r) const { return horizontal ? r.top : r.left; }
    float alongLength(const TwipsRect &r) const { return horizontal ? r.height : r.width; }
    bool horizontal = true;
};

// For each field, the index of the nearest label that ends before it across the axis and shares
// a line with it along the axis, or -1: a sweep across the axis, labels entering as the fields
// pass their far edges. On equal distance the label first among the controls wins.
std::vector<int> nearestLabels(const std::vector<Placed> &labels, const std::vector<Placed> &fields,
                               Axis axis)
{
    using Key = BestOverlapping::Key;
    const Key none{-std::numeric_limits<float>::infinity(), std::numeric_limits<int>::min()};
    std::vector<float> ends;
    for (const auto *group : {&labels, &fields}) {
        for (const Placed &p : *group) {
            ends.push_back(axis.along(p.rect));
            ends.push_back(axis.along(p.rect) + axis.alongLength(p.rect));
        }
    }
    BestOverlapping placed(std::move(ends), none);
    const auto farEdge = [&](const Placed &p) {
        return axis.across(p.rect) + axis.acrossLength(p.rect);
    };
    std::vector<const Placed *> byFarEdge;
    for (const Placed &label : labels)
        byFarEdge.push_back(&label);
    std::sort(byFarEdge.begin(), byFarEdge.end(),
              [&](const Placed *a, const Placed *b) { return farEdge(*a) < farEdge(*b); });
    std::vector<int> order(fields.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return axis.across(fields[a].rect) < axis.across(fields[b].rect);
    });
    std::vector<int> nearest(fields.size(), -1);
    std::size_t entered = 0;
    for (const int f : order) {
        const TwipsRect &field = fields[f].rect;
        for (; entered < byFarEdge.size() && farEdge(*byFarEdge[entered]) <= axis.across(field);
             ++entered) {
            const Placed &label = *byFarEdge[entered];
            placed.insert(axis.along(label.rect), axis.alongLength(label.rect),
                          {farEdge(label), -label.index});
        }
        if (const Key best = placed.best(axis.along(field), axis.alongLength(field)); best != none)
            nearest[f] = -best.second;
    }
    return nearest;
}

bool hasArea(const TwipsRect &r)
{
    return r.width > 0 && r.height > 0;
}

} // namespace

QString spokenCaption(const QString &caption)
{
    QString spoken = caption;
    spoken.remove(u'&');
    spoken = spoken.trimmed();
    if (spoken.endsWith(u':'))
        spoken.chop(1);
    return spoken.trimmed();
}

void nameFieldsByLabels(const QList<QWidget *> &controls)
{
    // A label to the left on the same line names a field before any label above it. Controls of
    // no width or height stand on no line.
    std::vector<Placed> labels;
    std::vector<Placed> fields;
    for (int i = 0; i < controls.size(); ++i) {
        QWidget *control = controls[i];
        const TwipsRect place = twipsGeometry(control);
        if (!hasArea(place))
            continue;
        if (const auto *label = qobject_cast<const QLabel *>(control)) {
            if (!spokenCaption(label->text()).isEmpty())
                labels.push_back({place, i});
        } else if (isField(control) && control->accessibleName().isEmpty()) {
            fields.push_back({place, i});
        }
    }
    if (labels.empty() || fields.empty())
        return;
    const std::vector<int> left = nearestLabels(labels, fields, Axis{true});
    const std::vector<int> above = nearestLabels(labels, fields, Axis{false});
    for (std::size_t f = 0; f < fields.size(); ++f) {
        const int label = left[f] >= 0 ? left[f] : above[f];
        if (label >= 0) {
            const auto *caption = static_cast<const QLabel *>(controls[label]);
            controls[fields[f].index]->setAccessibleName(spokenCaption(caption->text()));
        }
    }
}

} // namespace forms
