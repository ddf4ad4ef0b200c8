#pragma once
// The crepe-ground tool: a crepe burst (editor/crepe.h) at the pressed cell and at every
// cell the pointer reaches while the button is held, each burst one undo step. Its random
// source is seedable, so that a stroke can be replayed.

#include "editor/tools/gridtool.h"

#include <cstdint>
#include <random>

class TCrepeTool : public TGridTool {
public:
    using TGridTool::TGridTool;
    void Press(const TCellEvent &e) override;
    void Move(const TCellEvent &e) override;
    void Release(const TCellEvent &e) override;
    bool ButtonDown() const { return m_buttonDown; }
    void Seed(std::uint32_t seed) { m_random.seed(seed); }

private:
    void burst(TPoint cell);

    bool m_buttonDown = false;
    std::mt19937 m_random { 5489u };
};
