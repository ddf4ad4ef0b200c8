#pragma once
// The spray: a burst of random cells around the pointer at the press and then with every
// tick of the tool timer while the button is held. Its random source is seedable, so that
// a burst can be replayed.

#include "editor/tools/gridtool.h"

#include <cstdint>
#include <random>

class TSprayTool : public TGridTool {
public:
    using TGridTool::TGridTool;
    void Press(const TCellEvent &e) override;
    void Move(const TCellEvent &e) override { m_center = e.Cell; }
    void Release(const TCellEvent &e) override;

    // PointCount points at random angles and distances up to Radius around the centre; a
    // point inside the picture whose index is not protected and that lies inside the
    // selection (when there is one) takes the fore index. The burst's own cells make its
    // undo step.
    void Burst();
    TPoint Center() const { return m_center; }
    void Seed(std::uint32_t seed) { m_random.seed(seed); }

private:
    int randomBelow(int n);

    TPoint m_center { 0, 0 };
    std::mt19937 m_random { 5489u };
};
