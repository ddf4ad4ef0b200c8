#pragma once
// TColorSwatch: a clickable colour image of the tool windows (the selvedge and border
// windows' colour images). It shows its colour; as the target of the next picked colour it
// is filled black with its colour in a frame one pixel inside.

#include <QColor>
#include <QFrame>

class TColorSwatch : public QFrame {
    Q_OBJECT
public:
    explicit TColorSwatch(const QString &name, QWidget *parent = nullptr);
    void SetColor(const QColor &color);
    QColor Color() const { return m_color; }
    void SetTarget(bool target);
    bool Target() const { return m_target; }

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QColor m_color = Qt::black;
    bool m_target = false;
};
