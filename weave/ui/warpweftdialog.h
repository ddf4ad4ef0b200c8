#pragma once
// TFrmWarpWeft: the numbers of warps and wefts (经线纬线设置) a weave is tiled to.
// Outside 2 to 1500 OK shows a message and the dialog stays open.

#include <QDialog>

#include <functional>

class TNumricEdit;

class TFrmWarpWeft : public QDialog {
    Q_OBJECT
public:
    explicit TFrmWarpWeft(QWidget *parent = nullptr);

    // Valid after OK.
    int Warps() const { return m_warps; }
    int Wefts() const { return m_wefts; }

    // Shows a refusal; a message box unless replaced (tests).
    std::function<void(const QString &)> ShowMessage;

    void accept() override;

    TNumricEdit *EdtWarp = nullptr; // 经线数
    TNumricEdit *EdtWeft = nullptr; // 纬线数

private:
    int m_warps = 0;
    int m_wefts = 0;
};
