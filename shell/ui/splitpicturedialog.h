#pragma once
// TFrmSplitePicture: how many parts the active pattern is split into (拆图参数设置).
// The count is stepped, never typed: 2 to 99, and no more parts than the pattern has warps.

#include <QDialog>

class QSpinBox;

class TFrmSplitePicture : public QDialog {
    Q_OBJECT
public:
    // width: the pattern's warp count, which bounds the number of parts.
    explicit TFrmSplitePicture(int width, QWidget *parent = nullptr);
    int SpliteNumber() const;
    void SetSpliteNumber(int count);

private:
    QSpinBox *m_count = nullptr;
};
