#pragma once
// TFrmSetPicSize: the pattern-size dialog (设置).
// Shows the pattern's size in warps and wefts with the kept ratio (ticked), the percentage
// and the stretch box (ticked). OK with the size unchanged ends as cancelled; otherwise the
// apply routine the caller gives resizes the pattern, and a refusal is shown with the
// dialog left open.

#include <QDialog>

#include <functional>

class TPicSizeGroup;

class TFrmSetPicSize : public QDialog {
    Q_OBJECT
public:
    using TApply = std::function<bool(int width, int height, bool stretch, QString *error)>;
    TFrmSetPicSize(int width, int height, QWidget *parent = nullptr);

    void SetApply(TApply apply) { m_apply = std::move(apply); }
    void SetMessageHandler(std::function<void(const QString &)> handler)
    {
        m_showMessage = std::move(handler);
    }
    TPicSizeGroup *SizeGroup() const { return m_group; }
    int NewWidth() const { return m_width; }
    int NewHeight() const { return m_height; }
    bool Stretch() const;

    void accept() override;

private:
    TPicSizeGroup *m_group = nullptr;
    TApply m_apply;
    std::function<void(const QString &)> m_showMessage;
    int m_width = 0;
    int m_height = 0;
};
