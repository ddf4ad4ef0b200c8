#pragma once
// Picture repair (除杂点): the whole picture cleaned of mottle, of gaps in lines and of thorns,
// each run one undo step.

#include <cstdint>

class TPatternGrid;

enum class TRepairFunction : std::uint8_t {
    ClearMottle = 0, // 消杂: fore-colour specks inside back-colour ground become back colour
    Repair = 1, // 修补: gaps of fore colour up to Distance - 1 cells are closed
    ClearThorn = 2, // 去刺: fore cells with exactly 3 back neighbours become back colour
};

// The run lengths the window offers ("连续数").
constexpr int MinRepairDistance = 1;
constexpr int MaxRepairDistance = 99;

// Runs the function over the grid's picture as it is now (the grid replaces its picture on
// loads, resizes and whole-picture undo, so it is never kept between runs) with the grid's
// fore and back colours. Clear mottle and clear thorns record the cells they changed as one
// cell step; repair records a step over the whole picture, even when nothing changed. Then
// the reduced view is rebuilt and the grid repaints.
void RunPictureRepair(TPatternGrid &grid, TRepairFunction function, int distance);
