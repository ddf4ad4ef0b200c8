#pragma once
// The whole-picture commands of the main window by action name: each runs one routine of the
// active grid on the whole picture as one undoable step. The main window binds its actions
// from this table, and a check of the commands can walk the same table.

#include "editor/patterngrid.h"

#include <array>

struct TWholePictureCommand {
    const char *Name; // the action's name
    bool (TPatternGrid::*Command)();
};

inline constexpr std::array<TWholePictureCommand, 15> kWholePictureCommands { {
    { "ActLeftImg", &TPatternGrid::MirrorLeftImage },
    { "ActRightImg", &TPatternGrid::MirrorRightImage },
    { "ActTopImg", &TPatternGrid::MirrorTopImage },
    { "ActBottomImg", &TPatternGrid::MirrorBottomImage },
    { "ActLeftRightLink", &TPatternGrid::LinkLeftRight },
    { "ActTopBottomLink", &TPatternGrid::LinkTopBottom },
    { "ActFlipLeftRight", &TPatternGrid::FlipLeftRight },
    { "ActFlipTopBottom", &TPatternGrid::FlipTopBottom },
    { "ActRotate90", &TPatternGrid::Rotate90 },
    { "ActRotate180", &TPatternGrid::Rotate180 },
    { "ActRotate270", &TPatternGrid::Rotate270 },
    { "ActJumpStart", &TPatternGrid::JumpStart },
    { "ActRemoveBlank", &TPatternGrid::RemoveBlank },
    { "ActClear", &TPatternGrid::ClearPicture },
    { "ActReduceArea", &TPatternGrid::CropToRegion },
} };
