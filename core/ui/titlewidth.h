#pragma once
// The width a top-level window needs so that the window manager shows its whole caption:
// short dialogs are laid out by their controls, and a caption longer than those gets cut
// short in the title bar ("Treat Co...r Palette").

class QWidget;

// The caption's width in the title bar's font plus room for the title bar's icon and buttons.
int TitleFitWidth(const QWidget *window);
// Raises window's minimum width to TitleFitWidth (never lowers it); call again after the
// caption changes (a language change).
void FitWidthToTitle(QWidget *window);
