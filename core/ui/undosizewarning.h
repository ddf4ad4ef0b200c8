#pragma once
// The message box of the backup-size warning: once installed, every store that finds the
// kept cell data above the limit shows the warning with the error icon over the main
// window (or on its own when there is none).

void InstallUndoSizeWarningBox();
