#include "editor/picturesizerules.h"

#include "core/base/numutils.h"
#include "core/picture/picturelimits.h"

#include <algorithm>

namespace {
// The number a box holds; false while it is empty, "0" or no number.
bool boxValue(const QString &text, int &value)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    if (!ok || v <= 0)
        return false;
    value = v;
    return true;
}

int side(double value)
{
    return int(std::clamp<std::int64_t>(Round(value), 1, MaxPictureSide));
}
} // namespace

void TPicSizeRules::Start(int width, int height)
{
    m_startWidth = std::max(1, width);
    m_startHeight = std::max(1, height);
    m_ratio = double(m_startWidth) / m_startHeight;
    m_width = m_startWidth;
    m_height = m_startHeight;
}

void TPicSizeRules::SetKeepRatio(bool keep)
{
    m_keepRatio = keep;
    if (keep)
        m_height = side(m_width / m_ratio);
}

void TPicSizeRules::SetPercentMode(bool on, int percent)
{
    m_percentMode = on;
    if (percent > 0)
        m_percent = percent;
    if (on)
        applyPercent();
}

void TPicSizeRules::applyPercent()
{
    m_width = side(double(m_startWidth) * m_percent / 100.0);
    m_height = side(double(m_startHeight) * m_percent / 100.0);
}

bool TPicSizeRules::WidthTyped(const QString &text)
{
    int value = 0;
    if (!boxValue(text, value))
        return false;
    m_width = std::min(value, MaxPictureSide);
    if (m_keepRatio)
        m_height = side(m_width / m_ratio);
    return true;
}

bool TPicSizeRules::HeightTyped(const QString &text)
{
    int value = 0;
    if (!boxValue(text, value))
        return false;
    m_height = std::min(value, MaxPictureSide);
    if (m_keepRatio)
        m_width = side(m_height * m_ratio);
    return true;
}

bool TPicSizeRules::PercentTyped(const QString &text)
{
    int value = 0;
    if (!boxValue(text, value))
        return false;
    m_percent = value;
    if (m_percentMode)
        applyPercent();
    return m_percentMode;
}
