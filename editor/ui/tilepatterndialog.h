#pragma once
// TFrmTilePattern: the tile-pattern (平铺花样) settings dialog.
// Edits the margins and the float length the picked-pattern tool works with. The caller
// gives it the settings and takes them back on OK; it stores nothing itself.

#include "core/settings/settings.h"
#include "editor/ui/tilemarginboxes.h"

#include <QDialog>

class TFrmTilePattern : public QDialog {
    Q_OBJECT
public:
    explicit TFrmTilePattern(QWidget *parent = nullptr);

    void SetParam(const TTilePatternParam &param);
    // The controls over the record given last (FloatLength and the margins; the rest kept).
    TTilePatternParam Param() const;

private:
    TTilePatternParam m_param;
    TTileMarginBoxes m_margins;
};
