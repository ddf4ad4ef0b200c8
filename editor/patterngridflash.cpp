// The colour flash: the cells of the fore colour blink so that they can be found in a
// large picture.
#include "editor/patterngrid.h"

#include "core/base/messages.h"
#include "core/settings/sharedstate.h"

void TPatternGrid::StartFlash(int tag)
{
    // A second start would take the blink colour as the colour to come back to.
    if (m_flash.Active)
        return;
    SendEnableMainForm(0);
    m_flash.Active = true;
    m_flash.Index = m_foreIndex;
    m_flash.Ticks = 0;
    m_flash.Tag = tag;
    m_flash.Shown = PaintedColor(m_foreIndex);
}

bool TPatternGrid::FlashTick()
{
    if (!m_flash.Active)
        return false;
    m_flash.Shown = (m_flash.Ticks % 2 == 0) ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
    ++m_flash.Ticks;
    // The settings are bounded where they are read, so the flash always ends.
    const double elapsed = double(m_flash.Ticks) * StartSettings().FlashFrequence / 1000.0;
    const bool ended = elapsed > StartSettings().FlashTime;
    if (ended) {
        m_flash.Active = false;
        SendEnableMainForm(1);
    }
    Repaint();
    return ended;
}

void TPatternGrid::StopFlash()
{
    if (!m_flash.Active)
        return;
    m_flash.Active = false;
    SendEnableMainForm(1);
    Repaint();
}

QRgb TPatternGrid::PaintedColor(int index) const
{
    if (index < 0 || index > 255)
        return qRgb(0, 0, 0);
    if (m_flash.Active && index == m_flash.Index)
        return m_flash.Shown;
    return qRgb(m_palette[index].Red, m_palette[index].Green, m_palette[index].Blue);
}
