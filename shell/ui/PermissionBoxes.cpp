#include "PermissionBoxes.h"

#include <vector>

namespace {

// The boxes a box makes available when it is checked, and the boxes that go with
// it when it is unchecked. Without reading projects neither writing them nor the
// invoices nor the options are of use.
std::vector<int> enablesWhenChecked(int n)
{
    switch (n) {
    case 1: return {2};
    case 3: return {4};
    case 5: return {6, 7};
    case 6: return {9};
    case 7: return {8};
    case 9: return {10, 11, 12, 13};
    case 15: return {16};
    default: return {};
    }
}

std::vector<int> dropsWhenUnchecked(int n)
{
    if (n == 5)
        return {6, 7, 8, 9};
    return enablesWhenChecked(n);
}

} // namespace

PermissionBoxes::PermissionBoxes()
{
    m_enabled.fill(true);
    m_enabled[0] = false;
    for (int n : {2, 4, 6, 7, 8, 10, 11, 12, 13})
        m_enabled[std::size_t(n)] = false;
}

PermissionBoxes PermissionBoxes::of(const QString &perms)
{
    PermissionBoxes boxes;
    for (int n = 1; n <= 16; ++n)
        boxes.set(n, n <= perms.size() && perms.at(n - 1) == QLatin1Char('J'));
    return boxes;
}

void PermissionBoxes::set(int n, bool on)
{
    if (n < 1 || n > 16 || !m_enabled[std::size_t(n)])
        return;
    m_checked[std::size_t(n)] = on;
    release(n, on);
}

void PermissionBoxes::release(int n, bool on)
{
    if (on) {
        for (int d : enablesWhenChecked(n))
            m_enabled[std::size_t(d)] = true;
        return;
    }
    for (int d : dropsWhenUnchecked(n)) {
        m_checked[std::size_t(d)] = false;
        m_enabled[std::size_t(d)] = false;
        release(d, false);
    }
}

QString PermissionBoxes::perms() const
{
    QString out(16, QLatin1Char('N'));
    for (int n = 1; n <= 16; ++n)
        if (m_checked[std::size_t(n)])
            out[n - 1] = QLatin1Char('J');
    return out;
}
