#pragma once
// TDefineArea and TRevise: tool classes that hold an area or a flag and paint nothing.
// TDefineArea keeps an area handed to it and answers it as its region; TRevise keeps a
// flag. No tool number creates either; they stay registered for the code that names them.

#include "editor/tools/customline.h"

class TDefineArea : public TCustomLine {
public:
    const char *ClassName() const override { return "TDefineArea"; }
    void SetRegion(const TCellMask &region) { m_region = region; }
    TCellMask CreateRegion() const override { return m_region; }

protected:
    void assignShape(const TCustomLine &source) override
    {
        if (const auto *area = dynamic_cast<const TDefineArea *>(&source))
            m_region = area->m_region;
    }

private:
    TCellMask m_region;
};

class TRevise : public TCustomLine {
public:
    const char *ClassName() const override { return "TRevise"; }
    bool Flag() const { return m_flag; }
    void SetFlag(bool value) { m_flag = value; }

protected:
    void assignShape(const TCustomLine &source) override
    {
        if (const auto *revise = dynamic_cast<const TRevise *>(&source))
            m_flag = revise->m_flag;
    }

private:
    bool m_flag = false;
};
